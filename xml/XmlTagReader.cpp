#include "XmlTagReader.h"

#include "XmlFind.h"
#include "XmlText.h"

#include <algorithm>

namespace xml {

std::u16string_view ReadNameToken(std::u16string_view text, std::size_t pos, std::size_t end) {
    end = std::min(end, text.size());
    while (pos < end && IsXmlSpace(text[pos])) ++pos;
    if (pos >= end) return {};
    const std::size_t stop = FindCharClass(text.data(), pos, end, kCharNameDelimiter);
    return text.substr(pos, stop - pos);
}

bool NameTokenMatches(std::u16string_view token, std::u16string_view name, bool ignoreCase) {
    if (name.empty()) return true;
    if (name.size() < token.size()) return false;
    const std::u16string_view head = name.substr(0, token.size());
    if (ignoreCase ? !EqualIgnoringAsciiCase(head, token) : head != token) return false;
    if (name.size() == token.size()) return true;
    const char16_t after = name[token.size()];
    return after == u' ' || after == u'=' || after == u'/' || after == u'[' || after == u']';
}

namespace {

bool EndsAttributeName(char16_t c) {
    return c == u'=' || c == u'>' || c == u'/' || c == u'?' || IsXmlSpace(c);
}

std::size_t SkipSpace(std::u16string_view text, std::size_t pos, std::size_t end) {
    while (pos < end && IsXmlSpace(text[pos])) ++pos;
    return pos;
}

}  // namespace

std::optional<std::u16string_view> FindAttributeValue(std::u16string_view text, std::size_t tagBegin,
                                                      std::size_t tagEnd, std::u16string_view name,
                                                      bool ignoreCase) {
    tagEnd = std::min(tagEnd, text.size());
    if (tagBegin >= tagEnd) return std::nullopt;
    const std::u16string_view tagName = ReadNameToken(text, tagBegin + 1, tagEnd);
    std::size_t pos = tagName.empty() ? tagBegin + 1 : std::size_t(tagName.data() - text.data()) + tagName.size();
    for (;;) {
        pos = SkipSpace(text, pos, tagEnd);
        if (pos >= tagEnd) return std::nullopt;
        const char16_t c = text[pos];
        if (c == u'/' || c == u'>' || c == u'?') return std::nullopt;

        const std::size_t nameBegin = pos;
        while (pos < tagEnd && !EndsAttributeName(text[pos])) ++pos;
        const std::u16string_view attributeName = text.substr(nameBegin, pos - nameBegin);
        const bool matches = !attributeName.empty() && NameTokenMatches(attributeName, name, ignoreCase);

        pos = SkipSpace(text, pos, tagEnd);
        if (pos >= tagEnd || text[pos] != u'=') {
            if (matches) return std::u16string_view{};
            continue;
        }
        pos = SkipSpace(text, pos + 1, tagEnd);
        std::size_t valueBegin = pos;
        std::size_t valueEnd = pos;
        if (pos < tagEnd && (text[pos] == u'"' || text[pos] == u'\'')) {
            const char16_t quote = text[pos];
            valueBegin = pos + 1;
            valueEnd = valueBegin;
            while (valueEnd < tagEnd && text[valueEnd] != quote) ++valueEnd;
            pos = valueEnd < tagEnd ? valueEnd + 1 : tagEnd;
        } else {
            while (valueEnd < tagEnd && text[valueEnd] != u'>' && !IsXmlSpace(text[valueEnd])) ++valueEnd;
            pos = valueEnd;
        }
        if (matches) return text.substr(valueBegin, valueEnd - valueBegin);
    }
}

}  // namespace xml
