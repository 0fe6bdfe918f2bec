// Fuzz target of the initialisation-file reader: any text parses, look-ups and edits never crash, an
// edit is read back as written, and a written block decodes to the bytes it was made from.
#include "IniDocument.h"
#include "IniFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::u16string AsUtf16(const std::uint8_t* data, std::size_t size) {
    std::u16string text(size / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    return text;
}

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = AsUtf16(data, size);
    config::IniDocument document = config::IniDocument::Parse(text);
    const std::u16string written = document.Text();

    // Look-ups with names taken from the text's own lines and a few fixed ones.
    std::vector<std::u16string> names = {u"BASE", u"Profile", u"DPI_1", u""};
    for (const auto& line : document.Lines()) {
        if (names.size() > 12) break;
        names.push_back(line.substr(0, line.find(u'=')));
    }
    for (const auto& section : names) {
        for (const auto& key : names) (void)document.Value(section, key);
    }

    // An edit with plain names and a plain value is read back exactly, and the text stays readable.
    config::IniDocument edited = config::IniDocument::Parse(written);
    edited.SetValue(u"FuzzSection", u"FuzzKey", u"value 1");
    const auto value = config::IniDocument::Parse(edited.Text()).Value(u"FuzzSection", u"FuzzKey");
    Check(value.has_value() && *value == u"value 1");

    // Blocks: decoding arbitrary text never overruns the destination; an encoded block decodes back.
    std::uint8_t block[16] = {};
    (void)config::DecodeIniBlock(text, block);
    std::vector<std::uint8_t> bytes(data, data + std::min<std::size_t>(size, 32));
    std::vector<std::uint8_t> back(bytes.size());
    Check(config::DecodeIniBlock(config::EncodeIniBlock(bytes), back) && back == bytes);
    (void)config::ParseIniInt(text);
    return 0;
}
