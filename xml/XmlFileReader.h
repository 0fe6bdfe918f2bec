// The file reader: finds a document's encoding (byte-order mark, declared encoding, UTF-8 check),
// converts it to UTF-16 and describes what it did in a result text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace xml {

struct XmlFileText {
    bool ok = false;        // the bytes could be read
    std::u16string text;    // the document as UTF-16
    std::u16string result;  // how it was read, e.g. "UTF-8 length 5120 to 4980 wide chars "
    uint32_t flags = 0;     // XmlFileFlags of the byte-order mark found
};

// Reads a file; when it cannot be opened or read, `result` is the system's message for the error.
XmlFileText ReadXmlFile(const std::string& path);
// The same over bytes already in memory.
XmlFileText ReadXmlBytes(std::string_view bytes);

// The encoding a document declares in its first bytes: the encoding attribute of a leading
// <?xml ...?>, or the charset of an HTML <meta http-equiv="Content-Type" content="...">. Empty when
// it declares none. The sample is read as UTF-8.
std::u16string DeclaredEncoding(std::string_view sample);

}  // namespace xml
