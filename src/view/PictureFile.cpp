// SPDX-License-Identifier: GPL-3.0-or-later
#include "view/PictureFile.h"

#include <QFile>

#include "storage/MediaHeaders.h"
#include "storage/SafeRead.h"

QImage LoadPictureFile(const QString& path) {
    const FileBytes file = ReadRegularFile(QFile::encodeName(path).toStdString(), read_limit::Picture);
    if (!file.ok() || !BmpComplete(file.bytes))
        return {};
    return QImage::fromData(reinterpret_cast<const uchar*>(file.bytes.data()),
                            static_cast<int>(file.bytes.size()), "BMP");
}
