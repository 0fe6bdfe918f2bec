// The scanner: a cursor that reads the document text one node at a time.
#pragma once

#include "XmlFind.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace xml {

enum XmlNodeType : int {
    kNodeEndTag = 0,
    kNodeElement = 1,
    kNodeText = 2,
    kNodeWhitespace = 4,
    kNodeCData = 8,
    kNodeProcessingInstruction = 16,
    kNodeComment = 32,
    kNodeDoctype = 64,
    kNodeError = -1,
    kNodeEnd = -2,
};

constexpr uint32_t kNodeSelfClosing = 0x10000;

// The start and the length are not next to each other: the scanner stores them at different times,
// and a copy of both that the compiler reads as one 64-bit word would wait until both stores have
// reached the cache, instead of taking each value as it was stored.
struct XmlNodeToken {
    int type = kNodeEnd;
    uint32_t start = 0;   // offset of the node's first character (its '<' for markup)
    uint32_t flags = 0;   // kNodeSelfClosing
    uint32_t length = 0;
    std::u16string_view name;  // start tag, end tag or processing instruction name
    std::u16string message;    // the error message of a kNodeError node
};

class XmlScanner {
public:
    // Scans text[begin, end). Offsets in nodes and messages count from the start of `text`.
    XmlScanner(std::u16string_view text, uint32_t fileFlags, std::size_t begin = 0,
               std::size_t end = std::u16string_view::npos);

    // Reads the node at `next` and moves past it. Returns false at the end of the text (type -2).
    // Inline: the parse reads every node through it, and the kind of node it reads decides what the
    // parse does next.
    inline bool Next(XmlNodeToken& node);

    // When on, text runs are passed over: Next reads only markup nodes and the end of the text (the
    // parse records no text).
    void SetSkipText(bool skip) { skipText_ = skip; }
    uint32_t Flags() const { return flags_; }

    std::size_t next = 0;   // where scanning continues

private:
    void ScanText(XmlNodeToken& node);
    void ScanStartTag(XmlNodeToken& node);
    void ScanEndTag(XmlNodeToken& node);
    void ScanProcessingInstruction(XmlNodeToken& node);
    void ScanBang(XmlNodeToken& node);
    void ScanDoctype(XmlNodeToken& node);
    // Index of the '>' of the first terminator `tail` + '>' whose first character is at or after
    // `from`; npos when there is none.
    std::size_t FindTerminator(std::size_t from, std::u16string_view tail) const;
    std::size_t FindChar(std::size_t from, char16_t c) const;
    // Index of the '>' that ends an element, attribute-list, entity or notation declaration of a
    // document type, searching from `from`: the first '>' outside a quoted literal; npos when none.
    std::size_t FindDeclarationEnd(std::size_t from) const;
    void Finish(XmlNodeToken& node, int type, std::size_t endExclusive);
    // The text from `begin` to `end`, which are within the scanned range (begin <= end <= end_):
    // without substr's range check, which costs a tag read a branch.
    std::u16string_view Units(std::size_t begin, std::size_t end) const { return {text_.data() + begin, end - begin}; }
    void Unterminated(XmlNodeToken& node, const char* kind);
    void Incorrect(XmlNodeToken& node, const char* what);

    std::u16string_view text_;
    std::size_t end_;
    uint32_t flags_;
    bool skipText_ = false;
};

inline bool XmlScanner::Next(XmlNodeToken& node) {
    // Tags set the node's name and error nodes clear it; the other kinds clear it here.
    node.flags = 0;
    if (skipText_ && next < end_ && text_[next] != u'<') next = FindUnit(text_.data(), next, end_, u'<');
    node.start = static_cast<uint32_t>(next);
    if (next >= end_) {
        node.type = kNodeEnd;
        node.length = 0;
        node.name = {};
        return false;
    }
    if (text_[next] != u'<') {
        node.name = {};
        ScanText(node);
        return true;
    }
    if (next + 1 >= end_) {
        Unterminated(node, "tag");
        return true;
    }
    const char16_t c = text_[next + 1];
    if (c == u'/') {
        ScanEndTag(node);
    } else if (c == u'?') {
        ScanProcessingInstruction(node);
    } else if (c == u'!') {
        node.name = {};
        ScanBang(node);
    } else if (c > 0x60 || (c >= u'A' && c <= u'Z') || c == u'_' || c == u':') {
        ScanStartTag(node);
    } else {
        Incorrect(node, "tag name character");
    }
    return true;
}

inline std::size_t XmlScanner::FindChar(std::size_t from, char16_t c) const {
    if (from >= end_) return std::u16string_view::npos;
    const std::size_t i = FindUnit(text_.data(), from, end_, c);
    return i < end_ ? i : std::u16string_view::npos;
}

inline void XmlScanner::Finish(XmlNodeToken& node, int type, std::size_t endExclusive) {
    node.type = type;
    node.length = static_cast<uint32_t>(endExclusive - node.start);
    next = endExclusive;
}

inline void XmlScanner::ScanEndTag(XmlNodeToken& node) {
    const std::size_t nameBegin = next + 2;
    const std::size_t nameEnd = FindCharClass(text_.data(), nameBegin, end_, kCharEndTagDelimiter);
    node.name = Units(nameBegin, nameEnd);
    // Most end tags end right after their name.
    const std::size_t close = nameEnd < end_ && text_[nameEnd] == u'>' ? nameEnd : FindChar(nameEnd, u'>');
    if (close == std::u16string_view::npos) {
        Unterminated(node, "Element end tag");
        return;
    }
    Finish(node, kNodeEndTag, close + 1);
}

inline void XmlScanner::ScanStartTag(XmlNodeToken& node) {
    const std::size_t nameBegin = next + 1;
    const std::size_t nameEnd = FindCharClass(text_.data(), nameBegin, end_, kCharNameDelimiter);
    node.name = Units(nameBegin, nameEnd);

    // The tag ends at the first '>' outside a quoted value; a quote opens a value only when the
    // last character before it other than whitespace is '='.
    std::size_t i = nameEnd;
    // A tag without attributes ends right after its name.
    while (i < end_ && text_[i] != u'>') {
        i = FindFirstOf(text_.data(), i, end_, u'>', u'"', u'\'');
        if (i >= end_ || text_[i] == u'>') break;
        // Usually the '=' is right before the quote (a name never ends in '=').
        std::size_t before = i;
        if (text_[before - 1] != u'=') {
            while (before > nameEnd && IsXmlSpace(text_[before - 1])) --before;
        }
        if (before > nameEnd && text_[before - 1] == u'=') {
            const std::size_t close = FindChar(i + 1, text_[i]);
            if (close == std::u16string_view::npos) {
                i = end_;
                break;
            }
            i = close;
        }
        ++i;
    }
    if (i >= end_) {
        Unterminated(node, "Element tag");
        return;
    }
    if (i - 1 > next && text_[i - 1] == u'/') {
        const std::size_t slash = i - 1;
        const char16_t before = text_[slash - 1];
        if (slash == nameEnd || IsXmlSpace(before) || before == u'"' || before == u'\'') {
            node.flags |= kNodeSelfClosing;
        }
    }
    Finish(node, kNodeElement, i + 1);
}

}  // namespace xml
