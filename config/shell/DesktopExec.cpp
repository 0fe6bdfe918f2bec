#include "DesktopExec.h"

#include <sstream>

namespace config {

namespace {

std::string_view Trimmed(std::string_view text, std::string_view blanks = " \t\r") {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

// The escapes every string value may hold. An unknown escape is kept as it stands, so that the
// quoting rules below still see "\$" and "\"".
std::optional<std::string> UnescapeValue(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\') {
            text += value[i];
            continue;
        }
        if (++i == value.size()) return std::nullopt;
        switch (value[i]) {
        case 's': text += ' '; break;
        case 'n': text += '\n'; break;
        case 't': text += '\t'; break;
        case 'r': text += '\r'; break;
        case '\\': text += '\\'; break;
        default:
            text += '\\';
            text += value[i];
        }
    }
    return text;
}

// One word of the command line, and whether it was quoted (field codes count only outside quotes).
struct Word {
    std::string text;
    bool quoted = false;
};

std::optional<std::vector<Word>> SplitWords(std::string_view line) {
    std::vector<Word> words;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        Word word;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
            if (line[i] != '"') {
                word.text += line[i++];
                continue;
            }
            word.quoted = true;
            for (++i;; ++i) {
                if (i == line.size()) return std::nullopt;  // unterminated quote
                if (line[i] == '"') break;
                if (line[i] == '\\' && i + 1 < line.size() && std::string_view("\"`$\\").find(line[i + 1]) != std::string_view::npos) {
                    ++i;
                }
                word.text += line[i];
            }
            ++i;
        }
        words.push_back(std::move(word));
    }
    return words;
}

bool StandsForAddress(char code) { return code == 'u' || code == 'U' || code == 'f' || code == 'F'; }

}  // namespace

std::string DesktopExecLine(std::string_view desktopFile) {
    bool inEntry = false;
    std::istringstream lines{std::string(desktopFile)};
    for (std::string raw; std::getline(lines, raw);) {
        const std::string_view line = Trimmed(raw);
        if (!line.empty() && line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry) continue;
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos && Trimmed(line.substr(0, equals)) == "Exec") {
            return std::string(Trimmed(line.substr(equals + 1)));
        }
    }
    return {};
}

std::optional<std::vector<std::string>> ExpandExecLine(std::string_view exec, const std::string& address) {
    const std::optional<std::string> value = UnescapeValue(exec);
    if (!value) return std::nullopt;
    const std::optional<std::vector<Word>> words = SplitWords(*value);
    if (!words) return std::nullopt;

    std::vector<std::string> command;
    bool addressPlaced = false;
    for (const Word& word : *words) {
        if (word.quoted) {
            command.push_back(word.text);
            continue;
        }
        // A word that is a field code alone becomes the address or disappears; field codes inside a
        // word are replaced in place.
        if (word.text.size() == 2 && word.text[0] == '%' && word.text[1] != '%') {
            if (StandsForAddress(word.text[1]) && !addressPlaced) {
                if (command.empty()) return std::nullopt;  // the address would be the program
                command.push_back(address);
                addressPlaced = true;
            }
            continue;
        }
        std::string expanded;
        for (std::size_t i = 0; i < word.text.size(); ++i) {
            if (word.text[i] != '%' || i + 1 == word.text.size()) {
                expanded += word.text[i];
                continue;
            }
            const char code = word.text[++i];
            if (code == '%') {
                expanded += '%';
            } else if (StandsForAddress(code) && !addressPlaced) {
                if (command.empty()) return std::nullopt;  // the address would name the program
                expanded += address;
                addressPlaced = true;
            }
        }
        if (!expanded.empty()) command.push_back(std::move(expanded));
    }
    if (command.empty()) return std::nullopt;
    if (!addressPlaced) command.push_back(address);
    return command;
}

}  // namespace config
