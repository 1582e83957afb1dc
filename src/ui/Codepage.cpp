#include "ui/Codepage.h"

#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

#include "game/LevelRecord.h"

namespace {

constexpr const char* CodePage = "windows-1252";
// What the encoder puts for a character the code page lacks (the ASCII substitute control).
constexpr char Substitute = '\x1A';

} // namespace

QByteArray NameBytesFromText(const QString& text) {
    QStringEncoder encoder(CodePage);
    QByteArray bytes;
    // Every character gives exactly one byte, so only the first 50 characters matter. Each one is
    // encoded alone: a character outside the code page (a surrogate pair included) becomes a
    // single '?', while a genuine U+001A stays what it is.
    for (const char32_t codePoint : text.toUcs4()) {
        if (bytes.size() == NameCapacity)
            break;
        const QByteArray one = encoder.encode(QString::fromUcs4(&codePoint, 1));
        const bool lacking = one.size() != 1 || (one[0] == Substitute && codePoint != 0x1A);
        bytes.append(lacking ? '?' : one[0]);
        encoder.resetState();
    }
    return bytes;
}

QString TextFromNameBytes(const QByteArray& bytes) {
    QStringDecoder decoder(CodePage);
    return decoder.decode(bytes);
}
