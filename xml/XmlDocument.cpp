#include "XmlDocument.h"

#include "XmlEntities.h"
#include "XmlFileReader.h"
#include "XmlScanner.h"
#include "XmlTagReader.h"

namespace xml {

CXmlDocument::CXmlDocument() { Parse(); }

void CXmlDocument::LoadFailed(std::u16string message) {
    text_.clear();
    result_ = std::move(message);
    ResetPosition();
    table_.Reset();  // no root: every search fails
}

bool CXmlDocument::LoadFile(const std::string& path) { return Adopt(ReadXmlFile(path)); }

bool CXmlDocument::LoadBytes(const void* data, std::size_t size) {
    return Adopt(ReadXmlBytes(std::string_view(static_cast<const char*>(data), size)));
}

bool CXmlDocument::Adopt(XmlFileText&& file) {
    fileFlags_ = file.flags;
    if (!file.ok) {
        LoadFailed(std::move(file.result));
        return false;
    }
    text_ = std::move(file.text);
    result_ = std::move(file.result);
    Parse();
    return true;
}

void CXmlDocument::SetText(std::u16string text) {
    text_ = std::move(text);
    result_.clear();
    fileFlags_ = 0;
    if (text_.size() > XmlElementTable::kMaxTextUnits) {
        // Offsets are 32-bit fields: such a text cannot be indexed and is treated as empty.
        text_.clear();
    }
    Parse();
}

void CXmlDocument::ResetPosition() {
    parent_ = main_ = child_ = 0;
    nodeType_ = 0;
    nodeOffset_ = nodeLength_ = 0;
}

void CXmlDocument::Rewind() { ResetPosition(); }

std::u16string_view CXmlDocument::ElementName(uint32_t index) const {
    const XmlElementRecord& r = table_[index];
    return ReadNameToken(text_, std::size_t(r.start) + 1, std::size_t(r.start) + table_.StartTagLength(index));
}

bool CXmlDocument::NameMatches(uint32_t index, std::u16string_view name) const {
    if (name.empty()) return true;
    return NameTokenMatches(ElementName(index), name, (fileFlags_ & kFileIgnoreCase) != 0);
}

uint32_t CXmlDocument::FindInChain(uint32_t first, std::u16string_view name) const {
    for (uint32_t i = first; i != 0; i = table_[i].nextSibling) {
        if (NameMatches(i, name)) return i;
    }
    return 0;
}

bool CXmlDocument::FindNext(std::u16string_view name) {
    if (table_[0].firstChild == 0) return false;
    const uint32_t first = main_ != 0 ? table_[main_].nextSibling : table_[parent_].firstChild;
    const uint32_t found = FindInChain(first, name);
    if (found == 0) return false;
    main_ = found;
    parent_ = table_[found].parent;
    child_ = 0;
    nodeType_ = kNodeElement;
    nodeOffset_ = nodeLength_ = 0;
    return true;
}

bool CXmlDocument::FindChild(std::u16string_view name) {
    if (main_ == 0 && !FindNext()) return false;
    const uint32_t first = child_ != 0 ? table_[child_].nextSibling : table_[main_].firstChild;
    const uint32_t found = FindInChain(first, name);
    if (found == 0) return false;
    child_ = found;
    main_ = table_[found].parent;
    parent_ = table_[main_].parent;
    nodeType_ = kNodeElement;
    return true;
}

bool CXmlDocument::Descend() {
    if (main_ == 0 || nodeType_ != kNodeElement) return false;
    parent_ = main_;
    main_ = child_;
    child_ = 0;
    nodeType_ = main_ != 0 ? kNodeElement : 0;
    return true;
}

std::u16string CXmlDocument::ChildText() const {
    if (child_ == 0) return {};
    const XmlElementRecord& r = table_[child_];
    const uint32_t startTag = table_.StartTagLength(child_);
    const uint32_t endTag = table_.EndTagLength(child_);
    if (r.firstChild != 0 || r.length <= startTag + endTag) return {};
    const std::size_t begin = std::size_t(r.start) + startTag;
    const std::size_t end = std::size_t(r.start) + r.length - endTag;
    const std::u16string_view content = std::u16string_view(text_).substr(begin, end - begin);
    if (content.find(u'<') == std::u16string_view::npos) return DecodeEntities(content);

    // Mixed content: text runs (decoded) and CDATA sections (as they stand), nothing else.
    std::u16string data;
    XmlScanner scanner(text_, fileFlags_, begin, end);
    XmlNodeToken node;
    while (scanner.Next(node)) {
        const std::u16string_view piece = std::u16string_view(text_).substr(node.start, node.length);
        if (node.type == kNodeText) {
            data += DecodeEntities(piece);
        } else if (node.type == kNodeCData) {
            constexpr std::size_t kOpen = 9;   // <![CDATA[
            constexpr std::size_t kClose = 3;  // ]]>
            const std::size_t innerBegin = std::min(kOpen, piece.size() - kClose);
            data.append(piece.substr(innerBegin, piece.size() - kClose - innerBegin));
        }
    }
    return data;
}

std::u16string CXmlDocument::ChildAttribute(std::u16string_view name) const {
    if (child_ == 0 || nodeType_ != kNodeElement) return {};
    const XmlElementRecord& r = table_[child_];
    auto value = FindAttributeValue(text_, r.start, std::size_t(r.start) + table_.StartTagLength(child_), name,
                                    (fileFlags_ & kFileIgnoreCase) != 0);
    return value ? DecodeEntities(*value) : std::u16string();
}

}  // namespace xml
