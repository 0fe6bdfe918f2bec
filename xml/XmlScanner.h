// The scanner: a cursor that reads the document text one node at a time.
#pragma once

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

struct XmlNodeToken {
    int type = kNodeEnd;
    uint32_t start = 0;   // offset of the node's first character (its '<' for markup)
    uint32_t length = 0;
    uint32_t flags = 0;   // kNodeSelfClosing
    std::u16string_view name;  // start tag, end tag or processing instruction name
    std::u16string message;    // the error message of a kNodeError node
};

class XmlScanner {
public:
    // Scans text[begin, end). Offsets in nodes and messages count from the start of `text`.
    XmlScanner(std::u16string_view text, uint32_t fileFlags, std::size_t begin = 0,
               std::size_t end = std::u16string_view::npos);

    // Reads the node at `next` and moves past it. Returns false at the end of the text (type -2).
    bool Next(XmlNodeToken& node);

    // When on, text runs are passed over: Next reads only markup nodes and the end of the text (the
    // parse records no text).
    void SetSkipText(bool skip) { skipText_ = skip; }
    uint32_t Flags() const { return flags_; }

    std::size_t left = 0;   // first and last character of the last name token read
    std::size_t right = 0;
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
    void Unterminated(XmlNodeToken& node, const char* kind);
    void Incorrect(XmlNodeToken& node, const char* what);

    std::u16string_view text_;
    std::size_t end_;
    uint32_t flags_;
    bool skipText_ = false;
};

}  // namespace xml
