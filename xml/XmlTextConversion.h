// Conversion between 8-bit encodings and UTF-16. UTF-8, UTF-16, windows-1252 and UTF-32 are converted
// by hand; every other code page of the charset table goes through iconv. A code page iconv does not
// know is read as the ANSI code page (windows-1252), like an unknown charset name. Those of the
// charset table are:
//   720 (dos-720), 10001 to 10006 and 10008 (the Japanese, Chinese, Korean, Arabic, Hebrew and Greek
//   Macintosh code pages), 10081 (x-mac-turkish), 20105 (x-ia5), 20833 (x-ebcdic-koreanextended),
//   20838 (x-ebcdic-thai), 29001 (x-europa), 52936 (hz-gb-2312) and 57002 to 57011 (x-iscii-*).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace xml {

// The reader's UTF-8 check: up to the first zero byte, every byte with the high bit set must start a
// sequence (10xxxxxx and 110xxxxx take one continuation byte, 1110xxxx two, 11110xxx three) whose
// continuation bytes have the high bit set and lie inside the buffer. Overlong forms pass.
bool PassesUtf8Check(std::string_view bytes);

// Whether `codePage` has a converter of its own; the others are read and written as the ANSI code page.
bool HasConverter(int codePage);

// Bytes in `codePage` to UTF-16 (1200 little-endian, 1201 big-endian). `unmapped` (optional)
// receives the number of characters without a mapping (replaced by U+FFFD, or '?' for UTF-32).
std::u16string DecodeToUtf16(int codePage, std::string_view bytes, std::size_t* unmapped = nullptr);
// UTF-16 to bytes in `codePage`; characters without a mapping become '?' (in the code page's own
// bytes) and are counted. A stateful code page's text ends in its initial state.
std::string EncodeFromUtf16(int codePage, std::u16string_view text, std::size_t* unmapped = nullptr);

// The same by encoding name (charset table; unknown names use the ANSI code page). Between two 8-bit
// encodings the text goes through UTF-16. The count of unmapped characters is kept only when the
// target is not UTF-8.
std::u16string ConvertToUtf16(std::u16string_view encoding, std::string_view bytes,
                              std::size_t* unmapped = nullptr);
std::string ConvertFromUtf16(std::u16string_view encoding, std::u16string_view text,
                             std::size_t* unmapped = nullptr);
std::string ConvertBetween(std::u16string_view fromEncoding, std::u16string_view toEncoding,
                           std::string_view bytes, std::size_t* unmapped = nullptr);

// UTF-8 helpers for the program's own texts (file names, messages): invalid input becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view bytes);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace xml
