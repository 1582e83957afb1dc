// SPDX-License-Identifier: GPL-3.0-or-later
#include "windows/Codepage.h"

#include <QList>
#include <QStringEncoder>

#include "rules/LevelRecord.h"
#include "session/Texts.h"
#include "view/QtText.h"

namespace {

constexpr const char* CodePage = "windows-1252";
// What the encoder puts for a character the code page lacks (the ASCII substitute control).
constexpr char Substitute = '\x1A';
// The pictures that show a name's control characters stand for those characters again.
constexpr char32_t FirstControlPicture = 0x2400;
constexpr char32_t LastControlPicture = 0x241F;
constexpr char32_t DeletePicture = 0x2421;
constexpr char Delete = '\x7F';

bool showsControl(char32_t codePoint) {
    return (codePoint >= FirstControlPicture && codePoint <= LastControlPicture) ||
           codePoint == DeletePicture;
}

char controlShownBy(char32_t picture) {
    return picture == DeletePicture ? Delete : static_cast<char>(picture - FirstControlPicture);
}

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
        if (showsControl(codePoint)) {
            bytes.append(controlShownBy(codePoint));
            continue;
        }
        const QByteArray one = encoder.encode(QString::fromUcs4(&codePoint, 1));
        const bool lacking = one.size() != 1 || (one[0] == Substitute && codePoint != 0x1A);
        bytes.append(lacking ? '?' : one[0]);
        encoder.resetState();
    }
    return bytes;
}

QString TextFromNameBytes(const QByteArray& bytes) {
    return toQString(ShownName(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
}
