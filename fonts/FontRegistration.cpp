#include "FontRegistration.h"

#include "DebugOutput.h"

#include <QFile>
#include <QFontDatabase>

#include <thread>

namespace fonts {

int RegisterFontData(const QByteArray& data, const QString& fontName, const FontRetryPolicy& policy,
                     const FontDataRegistrar& registrar) {
    for (int attempt = 1; attempt <= policy.tries; ++attempt) {
        const int handle =
            registrar ? registrar(data) : QFontDatabase::addApplicationFontFromData(data);
        if (handle != -1) return handle;
        if (attempt < policy.tries) std::this_thread::sleep_for(policy.pause);
    }
    platform::DebugOutput(QStringLiteral("Font %1 could not be registered after %2 tries")
                              .arg(fontName)
                              .arg(policy.tries)
                              .toStdU16String());
    return -1;
}

bool ReadFontResource(const QString& path, QByteArray& data) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    data = file.readAll();
    return true;
}

}  // namespace fonts
