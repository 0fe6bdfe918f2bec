// Test helper: the debug log file (UTF-16LE) as UTF-8 text; empty when there is none.
#pragma once

#include "DebugLog.h"
#include "TemporaryFolder.h"

#include <QString>

#include <string>

namespace shell_test {

inline std::string DebugLogText() {
    const std::string bytes = platform_test::ReadFileText(config::DebugLogFilePath());
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()), static_cast<qsizetype>(bytes.size() / 2))
        .toStdString();
}

}  // namespace shell_test
