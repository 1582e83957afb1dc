// SPDX-License-Identifier: GPL-3.0-or-later
// The board pictures drawn for screens of a higher pixel ratio: "b1@2x.png" beside "b1.bmp", twice
// as wide and high, carrying the fingerprint of the picture it was drawn for. A player who puts a
// picture of their own in place of "b1.bmp" keeps it: the fine picture no longer matches and the
// player's picture is scaled smoothly instead. Shared by the picture generator and the game.
#pragma once

#include <QByteArray>
#include <QCryptographicHash>
#include <QImage>
#include <QString>

namespace fine_picture {

// The ratio the generator draws at; other ratios scale from it.
inline constexpr int DrawnScale = 2;
// The PNG text key that holds the fingerprint of the picture the fine one was drawn for.
inline constexpr const char* DrawnForKey = "Tolvar-Drawn-For";

// "dir/b1.bmp" -> "dir/b1@2x.png".
inline QString NameFor(const QString& path) {
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString stem = dot > slash ? path.left(dot) : path;
    return stem + QStringLiteral("@%1x.png").arg(DrawnScale);
}

// A digest of the picture's size and colours, whatever file format held it.
inline QByteArray Fingerprint(const QImage& picture) {
    const QImage pixels = picture.convertToFormat(QImage::Format_RGB32);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::number(pixels.width()) + 'x' + QByteArray::number(pixels.height()));
    for (int y = 0; y < pixels.height(); ++y)
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(pixels.constScanLine(y)),
                                    static_cast<qsizetype>(pixels.width()) * 4));
    return hash.result().toHex();
}

} // namespace fine_picture
