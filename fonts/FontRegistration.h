// Registering font data for this process only, with a bounded retry.
//
// The fonts are part of the executables, so a failing registration is not expected; when it happens
// (for example a font configuration that cannot be read for a moment) the registration is tried
// again after a pause. The default bound is 5 tries 1000 ms apart, so a start-up waits at most
// 4 seconds for a font before it goes on without it and the text falls back to a substitute face.
#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>

namespace fonts {

struct FontRetryPolicy {
    int tries = 5;
    std::chrono::milliseconds pause{1000};
};

// Registers font data and returns its handle, or -1 on failure. The default is
// QFontDatabase::addApplicationFontFromData; tests put a stand-in in its place.
using FontDataRegistrar = std::function<int(const QByteArray& data)>;

// Registers `data` with `registrar` (the Qt font database when empty), trying up to `policy.tries`
// times with `policy.pause` between the tries. Returns the handle, or -1 when every try failed; the
// failure is written to the debugger output with `fontName`.
int RegisterFontData(const QByteArray& data, const QString& fontName, const FontRetryPolicy& policy,
                     const FontDataRegistrar& registrar = {});

// Reads a font compiled into the executable (a Qt resource path such as ":/embedded-fonts/148").
// False when there is no such resource.
bool ReadFontResource(const QString& path, QByteArray& data);

}  // namespace fonts
