// Building the element table: one pass of the scanner over the text with a stack of open elements.
#include "XmlDocument.h"

#include "XmlOpenNames.h"
#include "XmlScanner.h"
#include "XmlTagReader.h"
#include "XmlText.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace xml {

namespace {

// The first and last child of an element (or of the document) while it is open, kept beside the
// table so that appending a child reads nothing back from it.
struct ChildList {
    uint32_t first = 0;
    uint32_t last = 0;
};

struct OpenElement {
    uint32_t index;
    ChildList children;
    std::u16string_view name;
};

// What the table is built with; lives for one parse.
class TableBuilder {
public:
    TableBuilder(XmlElementTable& table, std::u16string_view text, uint32_t fileFlags, std::u16string& message)
        : table_(table), text_(text), ignoreCase_((fileFlags & kFileIgnoreCase) != 0), message_(message) {
        open_.resize(6);
    }

    void StartTag(const XmlNodeToken& node) {
        const uint32_t index = table_.Allocate();
        if (root_ == 0) root_ = index;
        const uint32_t parent = Innermost();
        ChildList& siblings = InnermostChildren();
        XmlElementRecord& r = table_[index];
        r.start = node.start;
        r.length = node.length;
        // The level is the nesting depth at which the start tag was read (16 bits).
        r.flagsAndLevel = static_cast<uint32_t>(std::min<std::size_t>(depth_, 0xFFFF));
        r.parent = parent;
        if (node.length < XmlElementTable::kMaxStartTagField) {
            r.tagLengths = node.length;  // no end tag yet
        } else {
            table_.SetTagLengths(index, node.length, 0);
        }
        // The first child's previousSibling is the parent's last child.
        if (siblings.last != 0) {
            table_[siblings.last].nextSibling = index;
            r.previousSibling = siblings.last;
            table_[siblings.first].previousSibling = index;
        } else {
            table_[parent].firstChild = index;
            r.previousSibling = index;
            r.flagsAndLevel |= kElementFirstChild;
            siblings.first = index;
        }
        siblings.last = index;
        if (!(node.flags & kNodeSelfClosing)) {
            if (depth_ == open_.size()) open_.resize(2 * depth_ + 6);
            open_[depth_++] = {index, {}, node.name};
            if (openNames_) openNames_->Add(node.name);
        }
    }

    void EndTag(const XmlNodeToken& node) {
        // Well-formed documents close the innermost element with its exact name: check that first.
        if (depth_ != 0 && SameUnits(open_[depth_ - 1].name, node.name)) {
            Ended(depth_ - 1, node);
            return;
        }
        // Otherwise the open elements are searched from the innermost outwards, but only when one of
        // them can answer to the name: a stray end tag must not cost the depth of the stack. The
        // names are indexed from the first end tag that does not close the innermost element on.
        if (!openNames_) {
            openNames_.emplace(ignoreCase_);
            for (std::size_t k = 0; k < depth_; ++k) openNames_->Add(open_[k].name);
        }
        if (openNames_->Matches(node.name)) {
            for (std::size_t k = depth_; k-- > 0;) {
                if (NameTokenMatches(open_[k].name, node.name, ignoreCase_)) {
                    Ended(k, node);
                    return;
                }
            }
        }
        MarkIllFormed();
        table_[Innermost()].flagsAndLevel |= kElementBadMarkup;
        if (message_.empty()) {
            AppendAscii(message_, "No start tag for end tag '");
            message_ += node.name;
            AppendAscii(message_, "' at offset ");
            AppendNumber(message_, node.start);
        }
    }

    void Error(const XmlNodeToken& node) {
        MarkIllFormed();
        table_[Innermost()].flagsAndLevel |= kElementBadMarkup;
        if (message_.empty()) message_ = node.message;
    }

    void EndOfText() { CloseNotEnded(0, {}, 0); }

    uint32_t Root() const { return root_; }
    bool IllFormed() const { return table_[0].Has(kDocumentIllFormed); }

private:
    // Open element `k` is ended by end tag `node`; the elements open inside it are closed as not ended.
    void Ended(std::size_t k, const XmlNodeToken& node) {
        const uint32_t index = open_[k].index;
        XmlElementRecord& r = table_[index];
        r.length = node.start + node.length - r.start;
        table_.SetEndTagLength(index, node.length);
        if (k + 1 < depth_) CloseNotEnded(k + 1, node.name, node.start + 1);
        PopTo(k);
    }

    // Removes the open elements from stack position `from` on.
    void PopTo(std::size_t from) {
        if (openNames_) {
            for (std::size_t k = from; k < depth_; ++k) openNames_->Remove(open_[k].name);
        }
        depth_ = from;
    }

    uint32_t Innermost() const { return depth_ == 0 ? 0 : open_[depth_ - 1].index; }
    ChildList& InnermostChildren() { return depth_ == 0 ? topLevel_ : open_[depth_ - 1].children; }
    void MarkIllFormed() { table_[0].flagsAndLevel |= kDocumentIllFormed; }

    // Closes the open elements from the innermost down to stack position `from` as not ended: each
    // loses its end tag, hands a bad-markup flag to its parent and gives its children to its parent,
    // chained after it. `endTag` is the end tag that caused it (empty at the end of the text).
    void CloseNotEnded(std::size_t from, std::u16string_view endTag, uint32_t endTagOffset) {
        if (from >= depth_) return;
        MarkIllFormed();
        for (std::size_t k = depth_; k-- > from;) {
            const uint32_t index = open_[k].index;
            XmlElementRecord& r = table_[index];
            const uint32_t startTag = table_.StartTagLength(index);
            table_.SetTagLengths(index, startTag, 0);
            r.length = startTag;
            r.flagsAndLevel |= kElementNotEnded;
            if (r.Has(kElementBadMarkup)) {
                r.flagsAndLevel &= ~uint32_t(kElementBadMarkup);
                table_[r.parent].flagsAndLevel |= kElementBadMarkup;
            }
            if (r.firstChild != 0) {
                // The element is the last child of its parent (everything after it was inside it),
                // so its children become the parent's last children.
                XmlElementRecord& first = table_[r.firstChild];
                const uint32_t last = first.previousSibling;
                first.flagsAndLevel &= ~uint32_t(kElementFirstChild);
                first.previousSibling = index;
                r.nextSibling = r.firstChild;
                r.firstChild = 0;
                table_[table_[r.parent].firstChild].previousSibling = last;
            }
            if (message_.empty()) NotEndedMessage(index, open_[k].name, endTag, endTagOffset);
        }
        // Everything chained after the outermost closed element now belongs to its parent. Each
        // element moves at most once, because that parent is closed or at the top level.
        const uint32_t outermost = open_[from].index;
        const uint32_t parent = table_[outermost].parent;
        for (uint32_t i = table_[outermost].nextSibling; i != 0; i = table_[i].nextSibling) {
            table_[i].parent = parent;
        }
        PopTo(from);
        // The parent's last child is now the last one it was handed.
        ChildList& children = InnermostChildren();
        children.last = table_[children.first].previousSibling;
    }

    void NotEndedMessage(uint32_t index, std::u16string_view name, std::u16string_view endTag,
                         uint32_t endTagOffset) {
        if (!endTag.empty()) {
            AppendAscii(message_, "End tag '");
            message_ += endTag;
            AppendAscii(message_, "' at offset ");
            AppendNumber(message_, endTagOffset);
            AppendAscii(message_, " does not match start tag '");
            message_ += name;
            AppendAscii(message_, "' at offset ");
            AppendNumber(message_, table_[index].start);
        } else {
            AppendAscii(message_, "Element '");
            message_ += name;
            AppendAscii(message_, "' at offset ");
            AppendNumber(message_, table_[index].start);
            AppendAscii(message_, " not ended");
        }
    }

    XmlElementTable& table_;
    std::u16string_view text_;
    bool ignoreCase_;
    std::u16string& message_;
    std::vector<OpenElement> open_;  // the open elements are open_[0, depth_)
    std::size_t depth_ = 0;
    ChildList topLevel_;
    std::optional<XmlOpenNames> openNames_;
    uint32_t root_ = 0;
};

}  // namespace

bool CXmlDocument::Parse() {
    ResetPosition();
    // Skins, string tables and the MIME database hold one element per 40 to 45 units of text; a
    // table sized for that is not grown (and copied while the old and new storage are both held)
    // in the middle of the parse.
    constexpr std::size_t kUnitsPerElement = 40;
    table_.Reserve(static_cast<uint32_t>(text_.size() / kUnitsPerElement + 8));
    table_.Reset();
    std::u16string loadResult = std::move(result_);
    std::u16string message;
    bool wellFormed = false;

    if (text_.empty()) {
        AppendAscii(message, "Empty document");
    } else {
        TableBuilder builder(table_, text_, fileFlags_, message);
        XmlScanner scanner(text_, fileFlags_);
        scanner.SetSkipText(true);
        XmlNodeToken node;
        while (scanner.Next(node)) {
            switch (node.type) {
                case kNodeElement: builder.StartTag(node); break;
                case kNodeEndTag: builder.EndTag(node); break;
                case kNodeError: builder.Error(node); break;
                default: break;  // text, comments, CDATA and declarations stay in the text only
            }
        }
        builder.EndOfText();
        table_[0].length = static_cast<uint32_t>(text_.size());
        const uint32_t root = builder.Root();
        if (root == 0) {
            message = u"No root element";
        } else if (table_[root].nextSibling != 0) {
            message = u"Root element has sibling";
        }
        wellFormed = root != 0 && !builder.IllFormed() && table_[root].nextSibling == 0;
    }

    result_ = std::move(loadResult);
    if (!message.empty()) {
        if (!result_.empty()) result_.push_back(u' ');
        result_ += message;
    }
    return wellFormed;
}

}  // namespace xml
