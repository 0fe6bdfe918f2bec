// The initialisation-file primitives of the settings files: one value read or written per call.
//
// Files are UTF-16LE text starting with the byte-order mark FF FE. A file without that mark is read as
// UTF-8, past its own mark EF BB BF if it has one; an unmarked file that is not valid UTF-8 is read as
// windows-1252 (the ANSI code page other programs write in).
//
// Every write reads the file, changes the one value and replaces the file atomically (new file in the
// same folder, flushed to disk, renamed over the old one), so the file is always either the old or the
// new text; a file that does not exist yet starts as just the byte-order mark. A file that exists but
// cannot be read is left as it is. Writes return 0, or the errno of what failed (the file then keeps
// its old text); reads give their defaults when the file, the section or the key is missing.
//
// Byte blocks are stored as two upper-case hexadecimal digits per byte in memory order followed by
// two digits of the low 8 bits of the bytes' sum.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace config {

// Values longer than this (the reader's 4096-character buffer with its terminator) are cut.
inline constexpr std::size_t kIniTextLimit = 4095;

// The value, quotes stripped, at most kIniTextLimit characters; "" when missing.
std::u16string ReadIniText(const std::string& path, std::u16string_view section, std::u16string_view key);
// The value as a signed decimal number (leading blanks, an optional sign, digits; the number ends at
// the first other character, and text without digits reads as 0); `defaultValue` when missing.
std::int32_t ReadIniInt(const std::string& path, std::u16string_view section, std::u16string_view key,
                        std::int32_t defaultValue);
// Fills `destination` from a byte block; false (destination unchanged) when the key is missing, the
// value is not exactly 2 * size + 2 hexadecimal digits or the checksum does not match.
bool ReadIniBlock(const std::string& path, std::u16string_view section, std::u16string_view key,
                  std::span<std::uint8_t> destination);

// Line breaks inside a text become blanks, so a value never splits into lines of its own.
int WriteIniText(const std::string& path, std::u16string_view section, std::u16string_view key,
                 std::u16string_view text);
int WriteIniInt(const std::string& path, std::u16string_view section, std::u16string_view key, std::int32_t value);
int WriteIniBlock(const std::string& path, std::u16string_view section, std::u16string_view key,
                  std::span<const std::uint8_t> source);

// The text form of a byte block, its strict reading, and the reading of an integer value.
std::u16string EncodeIniBlock(std::span<const std::uint8_t> bytes);
bool DecodeIniBlock(std::u16string_view text, std::span<std::uint8_t> destination);
std::int32_t ParseIniInt(std::u16string_view text);

}  // namespace config
