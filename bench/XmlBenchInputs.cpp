#include "XmlBenchInputs.h"

#include <array>
#include <cstdint>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string_view>

namespace bench {
namespace {

// A fixed pseudo-random sequence so that every run parses the same document.
class Sequence {
public:
    uint32_t Next(uint32_t bound) {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) % bound;
    }

private:
    uint32_t state_ = 12345;
};

constexpr std::string_view kLineEnd = "\r\n";

// One key element on its own line inside a section.
void AddKey(std::string& out, std::string_view name, std::string_view attributes, std::string_view value) {
    out += "    <";
    out += name;
    out += attributes;
    out += '>';
    out += value;
    out += "</";
    out += name;
    out += '>';
    out += kLineEnd;
}

// The start or end tag of a section element on its own line.
void AddSectionTag(std::string& out, std::string_view name, bool end) {
    out += end ? "  </" : "  <";
    out += name;
    out += '>';
    out += kLineEnd;
}

struct FixedKey {
    std::string_view name;
    std::string_view attributes;
    std::string_view value;
};

void AddFixedSection(std::string& out, std::string_view name, std::initializer_list<FixedKey> keys) {
    AddSectionTag(out, name, false);
    for (const FixedKey& key : keys) {
        AddKey(out, key.name, key.attributes, key.value);
    }
    AddSectionTag(out, name, true);
}

std::string Rectangle(Sequence& random) {
    return std::to_string(random.Next(800)) + ',' + std::to_string(random.Next(600)) + ',' +
           std::to_string(random.Next(800)) + ',' + std::to_string(random.Next(600));
}

void AddFixedSections(std::string& out) {
    AddFixedSection(out, "INFO",
                    {{"SW_VERSION", "", "2.4.17"}, {"SKIN_NAME", "", "Dark &amp; quiet"}, {"AUTHOR", "", "Design team"}});
    AddFixedSection(out, "GLOBAL",
                    {{"FONT_NAME", "", "Sans"},
                     {"TEXT", " SIZE=\"21\" COLOR=\"16777215\" FONT=''", "12,34,56,78"},
                     {"BACKGROUND", "", "a.png"}});
    AddFixedSection(out, "MAIN",
                    {{"NORMAL", "", "main_normal.png"}, {"HOVER", "", "main_hover.png"}, {"WINDOW", "", "0,0,1024,700"}});
}

void AddPage(std::string& out, Sequence& random, int page) {
    static constexpr std::array<std::string_view, 6> kStates = {"NORMAL", "HOVER", "DOWN", "DISABLED", "SEL", "FOCUS"};
    const std::string section = std::string("PAGE_") + std::to_string(page);
    out += std::string("  <!-- page ") + std::to_string(page) + " -->";
    out += kLineEnd;
    AddSectionTag(out, section, false);
    AddKey(out, "BACKGROUND", "", std::string("page") + std::to_string(page) + "_back.png");
    const int buttons = 4 + static_cast<int>(random.Next(8));
    for (int button = 0; button < buttons; ++button) {
        const std::string key = std::string("BUTTON_") + std::to_string(button);
        AddKey(out, key, "", Rectangle(random));
        const std::size_t states = 1 + random.Next(kStates.size());
        for (std::size_t state = 0; state < states; ++state) {
            AddKey(out, key + '_' + std::string(kStates[state]), "",
                   std::string("p") + std::to_string(page) + "_b" + std::to_string(button) + '_' +
                       std::to_string(state) + ".png");
        }
        const std::string attributes = std::string(" SIZE=\"") + std::to_string(9 + random.Next(20)) +
                                       "\" COLOR=\"" + std::to_string(random.Next(16777216)) + "\" FONT=''";
        AddKey(out, key + "_LABEL", attributes,
               std::string("Button ") + std::to_string(button) + " &lt;" + std::to_string(page) + "&gt;");
    }
    AddSectionTag(out, section, true);
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

void AppendUnit(std::string& out, uint32_t unit) {
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>(unit >> 8);
}

}  // namespace

std::string MakeSkinDocument(std::size_t targetBytes) {
    static constexpr std::string_view kEnd = "</SKIN>\r\n";
    Sequence random;
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<SKIN>\r\n";
    AddFixedSections(out);
    for (int page = 1; out.size() + kEnd.size() < targetBytes; ++page) {
        AddPage(out, random, page);
    }
    out += kEnd;
    return out;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return {};
    }
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string ToUtf16LeWithMark(const std::string& utf8) {
    std::string text = utf8;
    const std::size_t declared = text.find("encoding=\"UTF-8\"");
    if (declared != std::string::npos && declared < 100) {
        text.replace(declared, 16, "encoding=\"UTF-16\"");
    }
    std::string out = "\xFF\xFE";
    out.reserve(2 + text.size() * 2);
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) {
            return {};
        }
        uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if (!IsContinuation(next)) {
                return {};
            }
            code = (code << 6) | (next & 0x3F);
        }
        i += length;
        if (code >= 0x10000) {
            code -= 0x10000;
            AppendUnit(out, 0xD800 | (code >> 10));
            AppendUnit(out, 0xDC00 | (code & 0x3FF));
        } else {
            AppendUnit(out, code);
        }
    }
    return out;
}

}  // namespace bench
