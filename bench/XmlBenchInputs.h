// Documents the XML reader benchmark parses: a generated skin-like file, a large real file, and
// UTF-16LE copies of them with a byte-order mark.
#pragma once

#include <cstddef>
#include <string>

namespace bench {

struct XmlBenchInput {
    std::string name;   // short label used in benchmark names, e.g. "skin-utf8"
    std::string bytes;  // the file as it lies on disk
    bool utf16 = false;
};

// A well-formed skin-like document of about `targetBytes` bytes (UTF-8, CRLF line ends): a root
// element, sections MAIN, GLOBAL and INFO and one section per page, each holding key elements whose
// texts are image names, rectangles or labels and whose attributes carry sizes, colours and fonts.
std::string MakeSkinDocument(std::size_t targetBytes);

// Reads a whole file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// The same document as UTF-16LE with a byte-order mark; an XML declaration naming UTF-8 is changed to
// name UTF-16. Empty when the text is not valid UTF-8.
std::string ToUtf16LeWithMark(const std::string& utf8);

}  // namespace bench
