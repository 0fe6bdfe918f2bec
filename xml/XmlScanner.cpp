#include "XmlScanner.h"

#include "XmlFind.h"
#include "XmlText.h"

#include <algorithm>

namespace xml {

XmlScanner::XmlScanner(std::u16string_view text, uint32_t fileFlags, std::size_t begin, std::size_t end)
    : next(std::min(begin, text.size())), text_(text), end_(std::min(end, text.size())), flags_(fileFlags) {}

std::size_t XmlScanner::FindTerminator(std::size_t from, std::u16string_view tail) const {
    for (std::size_t i = FindChar(from + tail.size(), u'>'); i != std::u16string_view::npos; i = FindChar(i + 1, u'>')) {
        if (text_.substr(i - tail.size(), tail.size()) == tail) return i;
    }
    return std::u16string_view::npos;
}

void XmlScanner::Unterminated(XmlNodeToken& node, const char* kind) {
    node.message.clear();
    AppendAscii(node.message, kind);
    AppendAscii(node.message, " at offset ");
    AppendNumber(node.message, node.start);
    AppendAscii(node.message, " unterminated");
    node.name = {};
    Finish(node, kNodeError, end_);  // the unterminated node is dropped up to the end of the text
}

void XmlScanner::Incorrect(XmlNodeToken& node, const char* what) {
    node.message.clear();
    AppendAscii(node.message, "Incorrect ");
    AppendAscii(node.message, what);
    AppendAscii(node.message, " at offset ");
    AppendNumber(node.message, node.start);
    node.name = {};
    // The bad node runs to the next '>' (included) or up to the next '<'.
    std::size_t i = node.start + 1;
    while (i < end_ && text_[i] != u'>' && text_[i] != u'<') ++i;
    Finish(node, kNodeError, (i < end_ && text_[i] == u'>') ? i + 1 : i);
}

void XmlScanner::ScanText(XmlNodeToken& node) {
    std::size_t i = next;
    bool onlySpace = true;
    for (; i < end_ && text_[i] != u'<'; ++i) onlySpace = onlySpace && IsXmlSpace(text_[i]);
    Finish(node, onlySpace ? kNodeWhitespace : kNodeText, i);
}

void XmlScanner::ScanProcessingInstruction(XmlNodeToken& node) {
    const std::size_t nameBegin = next + 2;
    std::size_t nameEnd = nameBegin;
    while (nameEnd < end_ && !IsNameDelimiter(text_[nameEnd])) ++nameEnd;
    node.name = text_.substr(nameBegin, nameEnd - nameBegin);
    const std::size_t close = FindTerminator(next + 2, u"?");
    if (close == std::u16string_view::npos) {
        Unterminated(node, "Processing instruction");
        return;
    }
    Finish(node, kNodeProcessingInstruction, close + 1);
}

void XmlScanner::ScanBang(XmlNodeToken& node) {
    const std::size_t p = next;
    if (p + 2 >= end_) {
        Unterminated(node, "tag");
        return;
    }
    const char16_t c = text_[p + 2];
    if (c == u'-') {
        if (p + 3 >= end_) {
            Unterminated(node, "tag");
        } else if (text_[p + 3] != u'-') {
            Incorrect(node, "comment tag");
        } else {
            const std::size_t close = FindTerminator(p + 4, u"--");
            if (close == std::u16string_view::npos) {
                Unterminated(node, "Comment");
            } else {
                Finish(node, kNodeComment, close + 1);
            }
        }
    } else if (c == u'[') {
        if (p + 3 >= end_) {
            Unterminated(node, "tag");
        } else if (text_[p + 3] != u'C') {
            Incorrect(node, "tag");
        } else {
            const std::size_t close = FindTerminator(p + 4, u"]]");
            if (close == std::u16string_view::npos) {
                Unterminated(node, "CDATA Section");
            } else {
                Finish(node, kNodeCData, close + 1);
            }
        }
    } else if (c == u'D') {
        ScanDoctype(node);
    } else if (c == u'E' || c == u'A' || c == u'N') {
        // Element, attribute-list, entity and notation declarations outside a document type.
        const std::size_t close = FindChar(p + 3, u'>');
        if (close == std::u16string_view::npos) {
            Unterminated(node, "tag");
        } else {
            Finish(node, kNodeDoctype, close + 1);
        }
    } else {
        Incorrect(node, "! tag");
    }
}

std::size_t XmlScanner::FindDeclarationEnd(std::size_t from) const {
    // Entity values, default attribute values and system or public identifiers are quoted literals
    // that may hold '>' and '<' (an entity value is often markup itself): each runs to its own quote.
    for (std::size_t i = FindFirstOf(text_.data(), from, end_, u'>', u'"', u'\''); i < end_;
         i = FindFirstOf(text_.data(), i + 1, end_, u'>', u'"', u'\'')) {
        if (text_[i] == u'>') return i;
        i = FindChar(i + 1, text_[i]);
        if (i == std::u16string_view::npos) break;
    }
    return std::u16string_view::npos;
}

void XmlScanner::ScanDoctype(XmlNodeToken& node) {
    // Declarations (with their quoted literals) and comments inside are consumed whole; the first
    // other '>' ends the doctype.
    std::size_t i = next + 3;
    while (i < end_) {
        const char16_t c = text_[i];
        if (c == u'>') {
            Finish(node, kNodeDoctype, i + 1);
            return;
        }
        if (c == u'<' && i + 2 < end_ && text_[i + 1] == u'!') {
            const char16_t kind = text_[i + 2];
            std::size_t close = std::u16string_view::npos;
            if (kind == u'-' && i + 3 < end_ && text_[i + 3] == u'-') {
                close = FindTerminator(i + 4, u"--");
            } else if (kind == u'E' || kind == u'A' || kind == u'N') {
                close = FindDeclarationEnd(i + 3);
            } else {
                ++i;
                continue;
            }
            if (close == std::u16string_view::npos) break;
            i = close + 1;
            continue;
        }
        ++i;
    }
    Unterminated(node, "Doctype");
}

}  // namespace xml
