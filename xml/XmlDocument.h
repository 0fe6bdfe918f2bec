// The tolerant, non-validating XML document reader behind every skin, string and layout lookup.
//
// A document is loaded once (from a file, from bytes or from a UTF-16 text), indexed into a table of
// element records that point into the text, and then read by moving a position over it. The reader
// never rejects a document: it indexes what it can recognise and keeps the first problem it met as a
// human-readable result text (LoadReport).
#pragma once

#include "XmlElementTable.h"
#include "XmlFileReader.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace xml {

// Flags the file reader leaves in fileFlags().
enum XmlFileFlags : uint32_t {
    kFileUtf16LeMark = 0x01,
    kFileUtf8Mark = 0x04,
    kFileIgnoreCase = 0x08,  // names compared without regard to ASCII case
    kFileUtf16BeMark = 0x80,
};

class CXmlDocument {
public:
    // An empty document, already parsed: one record, no root, result "Empty document".
    CXmlDocument();

    // Reads the file with encoding detection and parses it. Returns whether the file could be read;
    // when it could not, the document is empty and the result is the system's error message.
    bool LoadFile(const std::string& path);
    // The same reader over bytes already in memory (the file reader without the file).
    bool LoadBytes(const void* data, std::size_t size);
    // Replaces the text and parses it.
    void SetText(std::u16string text);

    void Rewind();
    bool FindNext(std::u16string_view name = {});
    bool FindChild(std::u16string_view name = {});
    bool Descend();
    std::u16string ChildText() const;
    std::u16string ChildAttribute(std::u16string_view name) const;
    const std::u16string& LoadReport() const { return result_; }

    // Read-only views for diagnostics and tests.
    const std::u16string& Text() const { return text_; }
    uint32_t FileFlags() const { return fileFlags_; }
    const XmlElementTable& Elements() const { return table_; }
    uint32_t ParentIndex() const { return parent_; }
    uint32_t MainIndex() const { return main_; }
    uint32_t ChildIndex() const { return child_; }
    int NodeType() const { return nodeType_; }
    // Tag name of element `index` as the name matcher reads it.
    std::u16string_view ElementName(uint32_t index) const;

private:
    // Takes over what the file reader produced and parses it; false when nothing could be read.
    bool Adopt(XmlFileText&& file);
    bool Parse();
    void ResetPosition();
    bool NameMatches(uint32_t index, std::u16string_view name) const;
    // First element matching `name` in the sibling chain that starts at `first`, or 0.
    uint32_t FindInChain(uint32_t first, std::u16string_view name) const;
    void LoadFailed(std::u16string message);

    std::u16string text_;
    std::u16string result_;
    uint32_t fileFlags_ = 0;

    uint32_t parent_ = 0;
    uint32_t main_ = 0;
    uint32_t child_ = 0;
    int nodeType_ = 0;
    uint32_t nodeOffset_ = 0;
    uint32_t nodeLength_ = 0;

    XmlElementTable table_;
};

// The text of the first element `key` inside the first element `section` under the root (searching
// nested sections of the same name when the first lacks the key); "" when there is none.
std::u16string LookupValue(CXmlDocument& document, std::u16string_view section, std::u16string_view key);
// The same walk, giving attribute `attribute` of the key element.
std::u16string LookupAttribute(CXmlDocument& document, std::u16string_view section, std::u16string_view key,
                               std::u16string_view attribute);

}  // namespace xml
