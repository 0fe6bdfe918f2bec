// Charset names (as documents declare them) and the code pages they stand for.
#pragma once

#include <cstddef>
#include <string_view>

namespace xml {

// Code pages with a meaning of their own in the reader.
enum CodePage : int {
    kCodePageUnknown = -1,
    kCodePageAnsi = 0,          // the system's ANSI code page: windows-1252 here
    kCodePageWindows1252 = 1252,
    kCodePageUtf16 = 1200,
    kCodePageUtf16Be = 1201,
    kCodePageUtf7 = 65000,
    kCodePageUtf8 = 65001,
    kCodePageUtf32 = 65005,     // any name beginning with "UTF-32"
};

// Looks a charset name up in the table of 254 names (150 buckets by character sum): ASCII capitals are
// lowered, names of 100 characters or more are unknown. -1 when unknown, 0 for an empty name.
int CodePageOfCharset(std::u16string_view name);

// The code page an encoding name is converted with: UTF-32 names first, then the charset table.
int CodePageOfEncoding(std::u16string_view name);

// Number of names in the table, and the name at `index` (below that number), lower-case.
std::size_t CharsetNameCount();
std::string_view CharsetNameAt(std::size_t index);

}  // namespace xml
