#include "FontNameTable.h"

#include <QtEndian>

namespace fonts_test {
namespace {

quint16 ReadUint16(const QByteArray& bytes, qsizetype offset) {
    return qFromBigEndian<quint16>(bytes.constData() + offset);
}

}  // namespace

std::map<int, QString> WindowsEnglishNames(const QByteArray& nameTable) {
    constexpr qsizetype kHeaderSize = 6;
    constexpr qsizetype kRecordSize = 12;
    std::map<int, QString> names;
    if (nameTable.size() < kHeaderSize) return names;
    const int count = ReadUint16(nameTable, 2);
    const qsizetype stringsStart = ReadUint16(nameTable, 4);
    for (int index = 0; index < count; ++index) {
        const qsizetype record = kHeaderSize + index * kRecordSize;
        if (record + kRecordSize > nameTable.size()) break;
        const bool windowsEnglish = ReadUint16(nameTable, record) == 3 &&
                                    ReadUint16(nameTable, record + 2) == 1 &&
                                    ReadUint16(nameTable, record + 4) == 0x409;
        const int nameId = ReadUint16(nameTable, record + 6);
        const qsizetype length = ReadUint16(nameTable, record + 8);
        const qsizetype start = stringsStart + ReadUint16(nameTable, record + 10);
        if (!windowsEnglish || start + length > nameTable.size()) continue;
        QString text;
        for (qsizetype at = start; at + 1 < start + length; at += 2) {
            text.append(QChar(ReadUint16(nameTable, at)));  // UTF-16, big-endian
        }
        names[nameId] = text;
    }
    return names;
}

}  // namespace fonts_test
