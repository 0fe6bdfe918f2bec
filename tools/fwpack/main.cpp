// fwpack: builds firmware packages and the pieces that go into them.
//
//   fwpack append --input EXE --output FILE (--signature TEXT | --signature-hex HEX) [--search-targets]
//          [--target-index N] [--boot-loader-ids VID:PID] [--application-ids VID:PID] [--write-bytes N]
//          [--title TEXT] [--company TEXT] [--product TEXT] [--version-text TEXT]
//          { --entry N --image FILE [--version-block FILE] --layout ID --version M.m.b [--name TEXT] } ...
//       Writes EXE with a package appended to FILE (FILE may be EXE itself).
//   fwpack image --version M.m.b --body-bytes N --output FILE
//       An application image the virtual controller boots: header with the version, then N code bytes.
//   fwpack version-block --text TEXT --output FILE
//       A version block whose first record holds TEXT as the version text.
//
// Numbers are decimal or 0x-prefixed hexadecimal; texts are UTF-8.
#include "FileBytes.h"
#include "PackageBuilder.h"
#include "Utf8.h"

#include "firmware/ApplicationImage.h"

#include <charconv>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

using fwpack::EntrySource;
using fwpack::PackageSource;

// A usage error or a failed file operation, with the text for the user.
struct Failure {
    std::string text;
};

std::uint64_t parseNumber(const std::string& text, std::uint64_t max, const std::string& what) {
    const bool hex = text.starts_with("0x") || text.starts_with("0X");
    const char* first = text.data() + (hex ? 2 : 0);
    const char* last = text.data() + text.size();
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value, hex ? 16 : 10);
    if (first == last || error != std::errc{} || end != last || value > max)
        throw Failure{what + ": '" + text + "' is not a number up to " + std::to_string(max)};
    return value;
}

firmware::Version parseVersion(const std::string& text) {
    const auto firstDot = text.find('.');
    const auto secondDot = text.find('.', firstDot == std::string::npos ? 0 : firstDot + 1);
    if (firstDot == std::string::npos || secondDot == std::string::npos)
        throw Failure{"version: '" + text + "' is not MAJOR.MINOR.BUILD"};
    return {static_cast<std::uint8_t>(parseNumber(text.substr(0, firstDot), 0xFF, "version major")),
            static_cast<std::uint8_t>(parseNumber(text.substr(firstDot + 1, secondDot - firstDot - 1), 0xFF, "version minor")),
            static_cast<std::uint32_t>(parseNumber(text.substr(secondDot + 1), 0xFFFFFFFF, "version build"))};
}

std::u16string parseText(const std::string& text) {
    auto converted = fwpack::utf16FromUtf8(text);
    if (!converted) throw Failure{"'" + text + "' is not UTF-8"};
    return *converted;
}

std::pair<std::uint32_t, std::uint32_t> parseIds(const std::string& text) {
    const auto colon = text.find(':');
    if (colon == std::string::npos) throw Failure{"ids: '" + text + "' is not VID:PID"};
    return {static_cast<std::uint32_t>(parseNumber(text.substr(0, colon), 0xFFFF, "vendor id")),
            static_cast<std::uint32_t>(parseNumber(text.substr(colon + 1), 0xFFFF, "product id"))};
}

void setSignature(firmware::FirmwareInfoBlock& info, const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() > sizeof info.signature) throw Failure{"the signature has more than 16 bytes"};
    std::fill(std::begin(info.signature), std::end(info.signature), 0);
    std::copy(bytes.begin(), bytes.end(), std::begin(info.signature));
}

std::vector<std::uint8_t> parseHex(const std::string& text) {
    if (text.size() % 2 != 0) throw Failure{"signature-hex: an odd number of digits"};
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < text.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(parseNumber("0x" + text.substr(i, 2), 0xFF, "signature-hex")));
    return bytes;
}

// The arguments after the subcommand as option-value pairs, in order; --search-targets takes none.
std::vector<std::pair<std::string, std::string>> optionPairs(int argc, char** argv) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (int i = 2; i < argc; ++i) {
        const std::string option = argv[i];
        if (!option.starts_with("--")) throw Failure{"unexpected argument '" + option + "'"};
        if (option == "--search-targets") {
            pairs.emplace_back(option, "");
            continue;
        }
        if (i + 1 >= argc) throw Failure{option + " needs a value"};
        pairs.emplace_back(option, argv[++i]);
    }
    return pairs;
}

int append(int argc, char** argv) {
    PackageSource source;
    firmware::FirmwareInfoBlock& info = source.info;
    info.bootLoaderVendorId = 0x2516;
    info.bootLoaderProductId = 0x0050;
    info.applicationVendorId = 0x2516;
    info.applicationProductId = 0x004F;
    info.bytesPerWrite = 60;
    std::string input, output;
    bool hasSignature = false;
    EntrySource* entry = nullptr;
    auto current = [&](const std::string& option) -> EntrySource& {
        if (entry == nullptr) throw Failure{option + " comes before any --entry"};
        return *entry;
    };
    const std::map<std::string, std::function<void(const std::string&, const std::string&)>> handlers = {
        {"--input", [&](auto&, auto& v) { input = v; }},
        {"--output", [&](auto&, auto& v) { output = v; }},
        {"--signature", [&](auto&, auto& v) { setSignature(info, {v.begin(), v.end()}); hasSignature = true; }},
        {"--signature-hex", [&](auto&, auto& v) { setSignature(info, parseHex(v)); hasSignature = true; }},
        {"--search-targets", [&](auto&, auto&) { info.targetSearch = firmware::kSearchAllTargets; }},
        {"--target-index", [&](auto& o, auto& v) { info.targetIndex = static_cast<std::uint8_t>(parseNumber(v, 0xFF, o)); }},
        {"--boot-loader-ids", [&](auto&, auto& v) { std::tie(info.bootLoaderVendorId, info.bootLoaderProductId) = parseIds(v); }},
        {"--application-ids", [&](auto&, auto& v) { std::tie(info.applicationVendorId, info.applicationProductId) = parseIds(v); }},
        {"--write-bytes", [&](auto& o, auto& v) {
             info.bytesPerWrite = static_cast<std::uint8_t>(parseNumber(v, 60, o));
             if (info.bytesPerWrite == 0) throw Failure{o + " must be 1-60"};
         }},
        {"--title", [&](auto&, auto& v) { firmware::storeText(info.title, parseText(v)); }},
        {"--company", [&](auto&, auto& v) { firmware::storeText(info.company, parseText(v)); }},
        {"--product", [&](auto&, auto& v) { firmware::storeText(info.product, parseText(v)); }},
        {"--version-text", [&](auto&, auto& v) { firmware::storeText(info.version, parseText(v)); }},
        {"--entry", [&](auto& o, auto& v) {
             const auto index = parseNumber(v, firmware::kPackageEntryCount - 1, o);
             if (source.entries[index]) throw Failure{"entry " + v + " is given twice"};
             entry = &source.entries[index].emplace();
         }},
        {"--image", [&](auto& o, auto& v) { current(o).image = fwpack::readFileBytes(v); }},
        {"--version-block", [&](auto& o, auto& v) { current(o).versionBlock = fwpack::readFileBytes(v); }},
        {"--layout", [&](auto& o, auto& v) { current(o).layoutId = static_cast<std::uint16_t>(parseNumber(v, 0xFFFF, o)); }},
        {"--version", [&](auto& o, auto& v) { current(o).version = parseVersion(v); }},
        {"--name", [&](auto& o, auto& v) { current(o).name = parseText(v); }},
    };
    for (const auto& [option, value] : optionPairs(argc, argv)) {
        const auto handler = handlers.find(option);
        if (handler == handlers.end()) throw Failure{"unknown option " + option};
        handler->second(option, value);
    }
    if (input.empty() || output.empty()) throw Failure{"--input and --output are needed"};
    if (!hasSignature) throw Failure{"--signature or --signature-hex is needed"};
    for (std::size_t i = 0; i < source.entries.size(); ++i)
        if (source.entries[i] && source.entries[i]->image.empty()) throw Failure{"entry " + std::to_string(i) + " has no image"};

    const auto built = fwpack::buildPackage(source);
    if (!built.error.empty()) throw Failure{built.error};
    std::vector<std::uint8_t> bytes = fwpack::readFileBytes(input);
    bytes.insert(bytes.end(), built.bytes.begin(), built.bytes.end());
    fwpack::replaceFile(output, bytes, input);
    return 0;
}

// Code bytes that differ from version to version, so two images never look alike by accident.
std::vector<std::uint8_t> bodyBytes(const firmware::Version& version, std::size_t count) {
    std::uint32_t state = 0x9E3779B9u ^ (std::uint32_t{version.major} << 24) ^ (std::uint32_t{version.minor} << 16) ^ version.build;
    std::vector<std::uint8_t> body(count);
    for (auto& b : body) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<std::uint8_t>(state >> 24);
    }
    return body;
}

int image(int argc, char** argv) {
    std::optional<firmware::Version> version;
    std::optional<std::uint64_t> bodyCount;
    std::string output;
    for (const auto& [option, value] : optionPairs(argc, argv)) {
        if (option == "--version") version = parseVersion(value);
        else if (option == "--body-bytes") bodyCount = parseNumber(value, 16u << 20, option);
        else if (option == "--output") output = value;
        else throw Failure{"unknown option " + option};
    }
    if (!version || !bodyCount || output.empty()) throw Failure{"--version, --body-bytes and --output are needed"};
    fwpack::replaceFile(output, firmware::buildApplicationImage(*version, bodyBytes(*version, *bodyCount)), "");
    return 0;
}

int versionBlock(int argc, char** argv) {
    std::optional<std::u16string> text;
    std::string output;
    for (const auto& [option, value] : optionPairs(argc, argv)) {
        if (option == "--text") text = parseText(value);
        else if (option == "--output") output = value;
        else throw Failure{"unknown option " + option};
    }
    if (!text || output.empty()) throw Failure{"--text and --output are needed"};
    const firmware::Record record = firmware::encodeVerInfo(*text);
    fwpack::replaceFile(output, {record.begin(), record.end()}, "");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    try {
        if (command == "append") return append(argc, argv);
        if (command == "image") return image(argc, argv);
        if (command == "version-block") return versionBlock(argc, argv);
        std::fprintf(stderr, "usage: fwpack append|image|version-block OPTIONS (see the source's header)\n");
        return 2;
    } catch (const Failure& failure) {
        std::fprintf(stderr, "fwpack %s: %s\n", command.c_str(), failure.text.c_str());
        return 1;
    } catch (const fwpack::FileError& error) {
        std::fprintf(stderr, "fwpack %s: %s\n", command.c_str(), error.what());
        return 1;
    }
}
