// Helpers shared by the XML reader's tests.
#pragma once

#include "XmlDocument.h"
#include "XmlTextConversion.h"

#include <cstdio>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace xml::test {

// A document parsed from UTF-8 source text.
inline CXmlDocument Parsed(std::string_view utf8) {
    CXmlDocument document;
    document.SetText(Utf8ToUtf16(utf8));
    return document;
}

inline std::string Utf8(std::u16string_view text) { return Utf16ToUtf8(text); }

// Writes bytes to a fresh file under the test's temporary folder and returns its path.
inline std::string WriteTempFile(const std::string& name, std::string_view bytes) {
    const std::string path = ::testing::TempDir() + "xmltest_" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    EXPECT_NE(f, nullptr) << path;
    if (f) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    return path;
}

// UTF-16 bytes of an ASCII/UTF-8 text, little- or big-endian, optionally with the byte-order mark.
inline std::string Utf16Bytes(std::string_view utf8, bool bigEndian, bool mark) {
    std::u16string text = Utf8ToUtf16(utf8);
    if (mark) text.insert(text.begin(), char16_t(0xFEFF));
    std::string bytes;
    for (char16_t unit : text) {
        const char lo = static_cast<char>(unit & 0xFF);
        const char hi = static_cast<char>(unit >> 8);
        bytes.push_back(bigEndian ? hi : lo);
        bytes.push_back(bigEndian ? lo : hi);
    }
    return bytes;
}

}  // namespace xml::test
