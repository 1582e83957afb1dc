// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/PictureFile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <cmath>

#include "storage/MediaHeaders.h"
#include "storage/SafeRead.h"
#include "view/FinePicture.h"

QImage LoadPictureFile(const QString& path) {
    const FileBytes file = ReadRegularFile(QFile::encodeName(path).toStdString(), read_limit::Picture);
    if (!file.ok() || !BmpComplete(file.bytes))
        return {};
    return QImage::fromData(reinterpret_cast<const uchar*>(file.bytes.data()),
                            static_cast<int>(file.bytes.size()), "BMP");
}

int FineScaleFor(double ratio) {
    // A ratio a rounding error above a whole number is that number.
    return std::clamp(static_cast<int>(std::ceil(ratio - 0.01)), 1, 3);
}

namespace {

bool drawnFor(QSize fineSize, const QString& key, const QImage& picture) {
    return fineSize == picture.size() * fine_picture::DrawnScale &&
           key.toLatin1() == fine_picture::Fingerprint(picture);
}

QImage loadDrawnFor(const QString& path, const QImage& picture) {
    const FileBytes file =
        ReadRegularFile(QFile::encodeName(fine_picture::NameFor(path)).toStdString(), read_limit::Picture);
    if (!file.ok())
        return {};
    QByteArray bytes(file.bytes.data(), static_cast<qsizetype>(file.bytes.size()));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "PNG");
    // The size is read from the header, so a picture of any other size is never decoded.
    if (!drawnFor(reader.size(), reader.text(fine_picture::DrawnForKey), picture))
        return {};
    return reader.read();
}

} // namespace

bool DrawnFor(const QImage& fine, const QImage& picture) {
    return drawnFor(fine.size(), fine.text(fine_picture::DrawnForKey), picture);
}

QImage PictureForRatio(const QImage& picture, const QImage& drawn, qreal ratio) {
    if (ratio <= 1 || picture.isNull())
        return picture;
    const QSize size = (QSizeF(picture.size()) * ratio).toSize();
    QImage fine = DrawnFor(drawn, picture) ? drawn : picture;
    if (fine.size() != size)
        fine = fine.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    fine.setDevicePixelRatio(qreal(size.width()) / picture.width());
    return fine;
}

QImage LoadFinePicture(const QString& path, const QImage& picture, int scale) {
    if (scale <= 1 || picture.isNull())
        return {};
    const QSize size = picture.size() * scale;
    QImage fine = loadDrawnFor(path, picture);
    if (fine.isNull())
        fine = picture;
    if (fine.size() != size)
        fine = fine.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return fine.convertToFormat(QImage::Format_RGB32);
}
