// Reads the records of a font's name table, for checking what the generated fonts are called.
#pragma once

#include <QByteArray>
#include <QString>

#include <map>

namespace fonts_test {

// The English (United States) names of the Windows platform (platform 3, encoding 1, language
// 0x409), by name id, from the raw bytes of a "name" table. Malformed records are skipped.
std::map<int, QString> WindowsEnglishNames(const QByteArray& nameTable);

}  // namespace fonts_test
