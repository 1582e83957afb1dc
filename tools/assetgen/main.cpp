// SPDX-License-Identifier: GPL-3.0-or-later
// Draws every picture of the game. Usage: assetgen <program directory> <resource directory> <icon directory>
// The program directory receives b0.bmp, b1.bmp, b2.bmp and b5.bmp, and the board backgrounds and
// the sprite atlas drawn at twice the pixels as b1@2x.png, b2@2x.png and b5@2x.png; the resource
// directory receives the pictures compiled into the program, under pictures/, cursors/ and glyphs/
// (the digits, the title, the about box's icon and each glyph strip also at twice the pixels, as
// <name>@2x.png); every picture at twice the pixels carries the fingerprint of the one it was
// drawn for (view/FinePicture.h). The icon directory receives the menu icon at each size of the
// desktop's icon theme, as hicolor/<n>x<n>/apps/tolvarpegs.png.
#include "Atlas.h"
#include "Backgrounds.h"
#include "Branding.h"
#include "Glyphs.h"
#include "Numbs.h"
#include "view/FinePicture.h"
#include "view/Pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

namespace {

bool save(const QImage& image, const QString& path) {
    if (image.isNull() || !QDir().mkpath(QFileInfo(path).absolutePath()) || !image.save(path)) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// The resource paths are ":/<folder>/<file>"; the same relative path is used in the build tree.
QString underResources(const QString& resources, const char* resourcePath) {
    return resources + "/" + QString::fromLatin1(resourcePath).mid(2);
}

// The picture at 1x, and beside it the same drawn at the fine scale, marked as drawn for it.
bool saveWithFine(const QImage& picture, QImage fine, const QString& path) {
    fine.setText(fine_picture::DrawnForKey, QString::fromLatin1(fine_picture::Fingerprint(picture)));
    const bool ok = save(picture, path);
    return save(fine, fine_picture::NameFor(path)) && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: assetgen <program directory> <resource directory> <icon directory>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString program = QString::fromLocal8Bit(argv[1]);
    const QString resources = QString::fromLocal8Bit(argv[2]);
    const QString icons = QString::fromLocal8Bit(argv[3]);

    constexpr int fine = fine_picture::DrawnScale;
    bool ok = save(branding::splash(), program + "/b0.bmp");
    ok = saveWithFine(backgrounds::make(backgrounds::Theme::Wood),
                      backgrounds::make(backgrounds::Theme::Wood, fine), program + "/b1.bmp") &&
         ok;
    ok = saveWithFine(backgrounds::make(backgrounds::Theme::Stone),
                      backgrounds::make(backgrounds::Theme::Stone, fine), program + "/b2.bmp") &&
         ok;
    ok = saveWithFine(atlas::make(), atlas::make(fine), program + "/b5.bmp") && ok;

    ok = saveWithFine(numbs::make(), numbs::make(fine), underResources(resources, pictures::Numbs)) && ok;
    ok = saveWithFine(branding::title(), branding::title(fine), underResources(resources, pictures::Title)) &&
         ok;
    ok = saveWithFine(branding::icon(pictures::IconSize), branding::icon(pictures::IconSize, fine),
                      underResources(resources, pictures::Icon)) &&
         ok;
    ok = save(branding::icon(pictures::Icon256Size), underResources(resources, pictures::Icon256)) && ok;
    ok = save(branding::hand(), underResources(resources, pictures::HandCursor)) && ok;
    for (const int size : branding::MenuIconSizes)
        ok = save(branding::icon(size),
                  QStringLiteral("%1/hicolor/%2x%2/apps/tolvarpegs.png").arg(icons).arg(size)) &&
             ok;
    for (const pictures::GlyphStrip& strip : pictures::AllGlyphStrips)
        ok = saveWithFine(glyphs::make(strip), glyphs::make(strip, fine),
                          underResources(resources, strip.path)) &&
             ok;
    return ok ? 0 : 1;
}
