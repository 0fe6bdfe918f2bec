// The diagnostic trace of the configuration program: time-stamped lines appended to
// "Pellacor Setup.log" on the user's desktop and copied to standard error.
//
// Off by default. The start-up switches it on for the whole run when the command line holds "debug".
// Every caller tests g_debugLog first and calls WriteDebugLog only when it is true, so with the switch
// off nothing is formatted, no file is touched and nothing reaches standard error.
#pragma once

#include <array>
#include <concepts>
#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace config {

// The debug switch: false at start, set once by the start-up, never cleared.
extern bool g_debugLog;

// The file name of the log inside the desktop folder.
inline constexpr std::u16string_view kDebugLogFileName = u"Pellacor Setup.log";

// One argument of a log message: an integer (for %d and %x) or a text (for %s).
using DebugLogArgument = std::variant<std::int64_t, std::u16string_view>;

inline DebugLogArgument ToDebugLogArgument(std::u16string_view text) { return text; }
template <std::integral Integer>
DebugLogArgument ToDebugLogArgument(Integer value) {
    return static_cast<std::int64_t>(value);
}

// Formats a message the way the callers' printf-style formats ask: %s writes a text argument, %d an
// integer in decimal, %x the integer's low 32 bits in lower-case hexadecimal, %% one percent sign.
// The arguments are written as they are: a percent sign inside a text argument stays a percent sign.
// A conversion without a fitting argument, and any other use of %, is written unchanged. The message
// is never cut, however long it gets.
std::u16string FormatDebugMessage(std::u16string_view format, std::span<const DebugLogArgument> arguments);

// The time stamp that starts a line: "%m/%d %H:%M " of the given local time ("03/07 14:05 "); empty when
// the time cannot be formatted.
std::u16string FormatDebugLogStamp(const std::tm& localTime);

// The full path of the log file: the desktop folder, a '/', kDebugLogFileName (UTF-8).
std::string DebugLogFilePath();

// Appends one line (stamp of the current local time, message, CR LF) to the log file, creating the
// desktop folder and the file when they are missing; a new or empty file first gets the byte-order
// mark FF FE. The line is UTF-16LE. The same line goes to standard error, also when the file cannot be
// written. Failures are never reported: the log must not disturb the program.
void WriteDebugLogMessage(std::u16string_view message);

// Formats the message (see FormatDebugMessage) and writes it as one log line. Always writes: testing
// g_debugLog is the caller's part.
template <typename... Arguments>
void WriteDebugLog(std::u16string_view format, const Arguments&... arguments) {
    const std::array<DebugLogArgument, sizeof...(Arguments)> list{ToDebugLogArgument(arguments)...};
    WriteDebugLogMessage(FormatDebugMessage(format, list));
}

}  // namespace config
