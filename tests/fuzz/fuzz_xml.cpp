// Fuzzes the XML document reader: the input is loaded as file bytes (encoding detection, conversion,
// parse), then the bytes at its end drive a series of searches and reads whose names come from a small
// list and from the document's own elements. The same input, taken as UTF-16 units, then goes through
// SetText, and a shorter load into the same document checks that a reload leaves nothing stale.
// After every load the element table is checked for links and offsets that stay inside the document.
#include "xml/XmlDocument.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr int kMaxOperations = 64;

constexpr std::array<std::u16string_view, 20> kNames = {
    u"",     u"MAIN", u"GLOBAL", u"INFO",  u"SKIN",  u"NORMAL", u"K",    u"S",     u"R",     u"SIZE",
    u"COLOR", u"FONT", u"html",  u"meta", u"MAIN ", u"MAIN=",  u"MAIN/", u"MAIN[", u"a:b", u"content"};

[[noreturn]] void Fail(const char* what, uint32_t index) {
    std::fprintf(stderr, "element table check failed: %s (record %u)\n", what, index);
    __builtin_trap();
}

// Links point forward to existing records, parents backward, and every element lies inside the text.
void CheckTable(const xml::CXmlDocument& document) {
    const xml::XmlElementTable& table = document.Elements();
    const uint32_t end = table.FreeIndex();
    const uint64_t textLength = document.Text().size();
    if (end == 0 || end > table.Capacity()) {
        Fail("free index outside the capacity", end);
    }
    if (table[0].length != textLength) {
        Fail("record 0 length differs from the text length", 0);
    }
    if (table[0].firstChild >= end) {
        Fail("root index out of range", 0);
    }
    for (uint32_t index = 1; index < end; ++index) {
        const xml::XmlElementRecord& record = table[index];
        if (record.parent >= index) {
            Fail("parent does not precede the element", index);
        }
        if (record.firstChild != 0 && (record.firstChild <= index || record.firstChild >= end)) {
            Fail("first child out of range", index);
        }
        if (record.nextSibling != 0 && (record.nextSibling <= index || record.nextSibling >= end)) {
            Fail("next sibling out of range", index);
        }
        if (record.previousSibling >= end) {
            Fail("previous sibling out of range", index);
        }
        if (uint64_t{record.start} + record.length > textLength) {
            Fail("element runs past the end of the text", index);
        }
        if (uint64_t{table.StartTagLength(index)} + table.EndTagLength(index) > record.length) {
            Fail("tags longer than the element", index);
        }
    }
}

void CheckPosition(const xml::CXmlDocument& document) {
    const uint32_t end = document.Elements().FreeIndex();
    if (document.ParentIndex() >= end || document.MainIndex() >= end || document.ChildIndex() >= end) {
        Fail("position outside the table", end);
    }
}

// A name to search for: one from the list, or the name of one of the document's elements, sometimes
// cut short or followed by a character the name matcher treats as the end of a name.
std::u16string PickName(FuzzedDataProvider& input, const xml::CXmlDocument& document) {
    const uint8_t choice = input.ConsumeIntegral<uint8_t>();
    const uint32_t end = document.Elements().FreeIndex();
    if (choice < 128 || end <= 1) {
        return std::u16string(kNames[choice % kNames.size()]);
    }
    std::u16string name(document.ElementName(input.ConsumeIntegralInRange<uint32_t>(1, end - 1)));
    switch (choice % 4) {
    case 1:
        name += u' ';
        break;
    case 2:
        if (!name.empty()) {
            name.pop_back();
        }
        break;
    case 3:
        name += u"=x";
        break;
    default:
        break;
    }
    return name;
}

void RunOperations(FuzzedDataProvider& input, xml::CXmlDocument& document) {
    std::size_t sink = 0;
    for (int step = 0; step < kMaxOperations && input.remaining_bytes() > 0; ++step) {
        switch (input.ConsumeIntegralInRange<int>(0, 11)) {
        case 0: document.Rewind(); break;
        case 1: sink += document.FindNext(PickName(input, document)); break;
        case 2: sink += document.FindChild(PickName(input, document)); break;
        case 3: sink += document.Descend(); break;
        case 4: sink += document.ChildText().size(); break;
        case 5: sink += document.ChildAttribute(PickName(input, document)).size(); break;
        case 6: {
            const std::u16string section = PickName(input, document);
            sink += xml::LookupValue(document, section, PickName(input, document)).size();
            break;
        }
        case 7: {
            const std::u16string section = PickName(input, document);
            const std::u16string key = PickName(input, document);
            sink += xml::LookupAttribute(document, section, key, PickName(input, document)).size();
            break;
        }
        case 8: sink += document.LoadReport().size(); break;
        case 9: sink += document.FindNext(); break;
        case 10: sink += document.FindChild(); break;
        default: sink += static_cast<std::size_t>(document.NodeType()) + document.FileFlags(); break;
        }
        CheckPosition(document);
    }
    // Keeps the reads from being optimised away.
    volatile std::size_t keep = sink;
    (void)keep;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    xml::CXmlDocument document;
    document.LoadBytes(data, size);
    CheckTable(document);
    FuzzedDataProvider fileOperations(data, size);
    RunOperations(fileOperations, document);

    std::u16string text(size / 2, u'\0');
    std::memcpy(text.data(), data, text.size() * sizeof(char16_t));
    document.SetText(std::move(text));
    CheckTable(document);
    FuzzedDataProvider textOperations(data, size);
    RunOperations(textOperations, document);

    // A shorter load into the same document must replace everything the longer one left.
    document.LoadBytes(data, size / 2);
    CheckTable(document);
    FuzzedDataProvider reloadOperations(data, size / 2);
    RunOperations(reloadOperations, document);
    return 0;
}
