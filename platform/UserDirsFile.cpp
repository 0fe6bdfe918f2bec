#include "UserDirsFile.h"

namespace platform {

namespace {

constexpr std::string_view kBlanks = " \t\r";

std::string_view TrimLeft(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

std::string_view TrimRight(std::string_view text) {
    const auto last = text.find_last_not_of(kBlanks);
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

// The value after '=': a double-quoted text with backslash escapes, or a bare word. Nothing when a
// quote is left open.
std::optional<std::string> ReadValue(std::string_view text) {
    if (text.empty() || text.front() != '"') {
        return std::string(TrimRight(text));
    }
    std::string value;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            return value;
        }
        if (c == '\\' && i + 1 < text.size()) {
            ++i;
        }
        value += text[i];
    }
    return std::nullopt;
}

// Replaces a leading $HOME or ${HOME} (as a whole path element) with `home`; only absolute results
// are folders.
std::optional<std::string> ExpandHome(const std::string& value, std::string_view home) {
    for (const std::string_view variable : {std::string_view{"$HOME"}, std::string_view{"${HOME}"}}) {
        if (value.compare(0, variable.size(), variable) == 0 &&
            (value.size() == variable.size() || value[variable.size()] == '/')) {
            return std::string(home) + value.substr(variable.size());
        }
    }
    if (!value.empty() && value.front() == '/') {
        return value;
    }
    return std::nullopt;
}

// The folder on one line when that line assigns `key`.
std::optional<std::string> ReadLine(std::string_view line, std::string_view key, std::string_view home) {
    line = TrimLeft(line);
    if (line.substr(0, key.size()) != key) {
        return std::nullopt;
    }
    line = TrimLeft(line.substr(key.size()));
    if (line.empty() || line.front() != '=') {
        return std::nullopt;
    }
    const std::optional<std::string> value = ReadValue(TrimLeft(line.substr(1)));
    if (!value) {
        return std::nullopt;
    }
    return ExpandHome(*value, home);
}

}  // namespace

std::optional<std::string> FindUserDir(std::string_view fileText, std::string_view key, std::string_view home) {
    std::optional<std::string> found;
    while (!fileText.empty()) {
        const auto end = fileText.find('\n');
        const std::string_view line = fileText.substr(0, end);
        fileText = end == std::string_view::npos ? std::string_view{} : fileText.substr(end + 1);
        if (auto folder = ReadLine(line, key, home)) {
            found = std::move(folder);
        }
    }
    return found;
}

}  // namespace platform
