// SPDX-License-Identifier: GPL-3.0-or-later
// Composes boards, message windows and tool glyphs exactly as the game draws them (AND with the
// mask, OR with the picture, cells at their places), so the pictures can be looked at.
// Usage: boardshot <program directory> <output directory>
#include "Layout.h"
#include "rules/LevelRecord.h"
#include "view/Pictures.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>
#include <functional>

namespace {

using namespace layout;

enum class Op { Copy, And, Or };

void blit(QImage& dst, int dx, int dy, const QImage& src, int sx, int sy, int w, int h, Op op) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const QRgb s = src.pixel(sx + x, sy + y) | 0xFF000000u;
            QRgb d = dst.pixel(dx + x, dy + y) | 0xFF000000u;
            d = op == Op::Copy ? s : op == Op::And ? (d & s) : (d | s);
            dst.setPixel(dx + x, dy + y, d);
        }
    }
}

struct Board {
    LevelRecord record;
    std::function<int(int cell, int code)> design; // which design a peg shows
    bool editing = false;
};

void drawBigCell(QImage& area, const QImage& bg, const Board& b, int cell, std::uint8_t code) {
    if (!IsOnBoard(b.record, cell))
        return;
    const Offset o = bigOffset(cell % 9, cell / 9, b.record.Size, b.record.isHexagon());
    QImage work(50, 50, QImage::Format_RGB32);
    blit(work, 0, 0, bg, o.x + 26, o.y + 26, 28, 28, Op::Copy);
    if (code == NoHole && b.editing)
        blit(work, 10, 10, bg, MarkerX, MarkerY, MarkerSize, MarkerSize, Op::Copy);
    else if (code == EmptyHole)
        blit(work, 4, 4, bg, (b.record.isHexagon() ? BigHexHolesX : BigSquareHolesX) + o.x, o.y, 16, 16,
             Op::Copy);
    else if (HoldsPeg(code) && code <= SecondColourPeg) {
        blit(work, 0, 0, bg, BigMaskX, BigPegsY, BigPeg, BigPeg, Op::And);
        blit(work, 0, 0, bg, BigPegsX + BigPeg * b.design(cell, code), BigPegsY, BigPeg, BigPeg, Op::Or);
    }
    blit(area, o.x + 26, o.y + 26, work, 0, 0, 24, 24, Op::Copy);
}

void drawSmallCell(QImage& area, const QImage& bg, const Board& b, int cell) {
    if (!IsOnBoard(b.record, cell))
        return;
    const std::uint8_t code = b.record.TargetCells[static_cast<std::size_t>(cell)];
    const Offset o = smallOffset(cell % 9, cell / 9, b.record.Size, b.record.isHexagon());
    QImage work(50, 50, QImage::Format_RGB32);
    blit(work, 0, 0, bg, o.x + 328, o.y + 32, 12, 12, Op::Copy);
    if (code == NoHole && b.editing)
        blit(work, 5, 5, bg, MarkerX, MarkerY, MarkerSize, MarkerSize, Op::Copy);
    else if (code == EmptyHole)
        blit(work, 2, 2, bg, SmallHolesX + o.x, (b.record.isHexagon() ? SmallHexSourceY : 0) + o.y, 8, 8,
             Op::Copy);
    else if (HoldsPeg(code) && code <= SecondColourPeg) {
        blit(work, 0, 0, bg, SmallMaskX, SmallPegsY, SmallPeg, SmallPeg, Op::And);
        blit(work, 0, 0, bg, SmallPegsX + SmallPeg * b.design(cell, code), SmallPegsY, SmallPeg, SmallPeg,
             Op::Or);
    }
    blit(area, o.x + 328, o.y + 32, work, 0, 0, 12, 12, Op::Copy);
}

QImage drawBoard(const QImage& bg, const Board& b) {
    QImage area(BoardWidth, BoardHeight, QImage::Format_RGB32);
    blit(area, 0, 0, bg, 0, 0, BoardWidth, BoardHeight, Op::Copy);
    for (int i = 0; i < CellCount; ++i)
        drawBigCell(area, bg, b, i, b.record.StartCells[static_cast<std::size_t>(i)]);
    for (int i = 0; i < CellCount; ++i)
        drawSmallCell(area, bg, b, i);
    return area;
}

// The classic cross on a 7 x 7 square board, every peg a different design in turn, the centre and a
// few holes empty; the target is the lone peg in the centre.
Board crossBoard() {
    Board b;
    b.record.Size = 7;
    b.record.Shape = ShapeSquare;
    for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 7; ++c) {
            const bool arm = (r >= 2 && r <= 4) || (c >= 2 && c <= 4);
            const int i = r * 9 + c;
            b.record.StartCells[static_cast<std::size_t>(i)] = arm ? SecondColourPeg : NoHole;
            b.record.TargetCells[static_cast<std::size_t>(i)] = arm ? EmptyHole : NoHole;
        }
    }
    for (int i : {30, 2, 20, 46})
        b.record.StartCells[static_cast<std::size_t>(i)] = EmptyHole;
    b.record.TargetCells[30] = FirstColourPeg;
    int next = 0;
    std::array<int, CellCount> designs{};
    for (int& d : designs)
        d = next++ % DesignCount;
    b.design = [designs](int cell, int) {
        return designs[static_cast<std::size_t>(cell)];
    };
    return b;
}

// A full hexagonal board of size 9 in the two default colours with a half-filled target.
Board hexBoard(int size) {
    Board b;
    b.record.Size = static_cast<std::uint8_t>(size);
    b.record.Shape = ShapeHexagon;
    for (int i = 0; i < CellCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        b.record.StartCells[at] = (i / 9) < size / 2 ? FirstColourPeg : SecondColourPeg;
        b.record.TargetCells[at] = (i % 3 == 0) ? FirstColourPeg : EmptyHole;
    }
    b.record.StartCells[40] = EmptyHole;
    b.record.StartCells[41] = EmptyHole;
    b.design = [](int, int code) {
        return code == FirstColourPeg ? 1 : 2;
    };
    return b;
}

// The editor's view: a square board of size 9 with a ring of holes; all other cells show the marker.
Board editingBoard() {
    Board b;
    b.record.Size = 9;
    b.editing = true;
    for (int r = 0; r < 9; ++r) {
        for (int c = 0; c < 9; ++c) {
            const int i = r * 9 + c;
            const bool ring = r == 1 || r == 7 || c == 1 || c == 7;
            b.record.StartCells[static_cast<std::size_t>(i)] =
                ring ? (c % 2 ? FirstColourPeg : EmptyHole) : NoHole;
            b.record.TargetCells[static_cast<std::size_t>(i)] = ring ? EmptyHole : NoHole;
        }
    }
    b.record.TargetCells[10] = SecondColourPeg;
    b.design = [](int, int code) {
        return code == FirstColourPeg ? 1 : 2;
    };
    return b;
}

// Every design side by side on big and small fields, on a square board of size 9.
Board designRow() {
    Board b;
    b.record.Size = 9;
    for (int i = 0; i < CellCount; ++i) {
        const int r = i / 9;
        b.record.StartCells[static_cast<std::size_t>(i)] = r == 4 ? EmptyHole : FirstColourPeg;
        b.record.TargetCells[static_cast<std::size_t>(i)] = r == 4 ? EmptyHole : FirstColourPeg;
    }
    b.design = [](int cell, int) {
        return (cell % 9 + 9 * (cell / 9)) % DesignCount;
    };
    return b;
}

QImage messageWindows(const QImage& atlas) {
    QImage sheet(MessageWidth * 2 + 10, (MessageHeight + 10) * 3, QImage::Format_RGB32);
    sheet.fill(qRgb(90, 90, 90));
    for (int k = 0; k < FigureCount; ++k) {
        QImage window(MessageWidth, MessageHeight, QImage::Format_RGB32);
        blit(window, 0, 0, atlas, 0, 0, MessageWidth, MessageHeight, Op::Copy);
        blit(window, FigureInMessageX, FigureInMessageY, atlas, FigureMaskX, FigureY, FigureWidth,
             FigureHeight, Op::And);
        blit(window, FigureInMessageX, FigureInMessageY, atlas, FigureWidth * k, FigureY, FigureWidth,
             FigureHeight, Op::Or);
        blit(sheet, (k % 2) * (MessageWidth + 10), (k / 2) * (MessageHeight + 10), window, 0, 0, MessageWidth,
             MessageHeight, Op::Copy);
    }
    return sheet;
}

// The compiled-in pictures on a grey tool panel, enlarged three times.
QImage builtInPictures() {
    QImage sheet(420, 330, QImage::Format_RGB32);
    sheet.fill(qRgb(192, 192, 192));
    QPainter p(&sheet);
    int x = 4, y = 4;
    for (const pictures::GlyphStrip& strip : pictures::AllGlyphStrips) {
        const QImage glyphs(QString::fromLatin1(strip.path));
        if (x + glyphs.width() > 140) {
            x = 4;
            y += 28;
        }
        p.drawImage(x, y, glyphs);
        x += glyphs.width() + 8;
    }
    p.drawImage(4, y + 30, QImage(pictures::Numbs));
    p.drawImage(4, y + 56, QImage(pictures::Title));
    p.drawImage(110, y + 56, QImage(pictures::Icon));
    p.drawImage(150, y + 56, QImage(pictures::HandCursor));
    p.end();
    return sheet.copy(0, 0, 310, y + 140).scaled(930, (y + 140) * 3);
}

bool write(const QImage& image, const QString& path) {
    if (!image.save(path)) {
        std::fprintf(stderr, "boardshot: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: boardshot <program directory> <output directory>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString program = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);
    bool ok = true;
    for (const char* name : {"b1", "b2"}) {
        const QImage bg(program + "/" + name + ".bmp");
        if (bg.isNull()) {
            std::fprintf(stderr, "boardshot: cannot read %s.bmp\n", name);
            return 1;
        }
        const QString stem = out + "/" + name;
        ok = write(drawBoard(bg, crossBoard()), stem + "-cross.png") && ok;
        ok = write(drawBoard(bg, hexBoard(9)), stem + "-hex9.png") && ok;
        ok = write(drawBoard(bg, hexBoard(6)), stem + "-hex6.png") && ok;
        ok = write(drawBoard(bg, editingBoard()), stem + "-editing.png") && ok;
        const QImage designs = drawBoard(bg, designRow());
        ok = write(designs.copy(20, 60, 300, 140).scaled(900, 420), stem + "-designs-zoom.png") && ok;
    }
    const QImage atlas(program + "/b5.bmp");
    ok = !atlas.isNull() && write(messageWindows(atlas), out + "/messages.png") && ok;
    ok = write(QImage(program + "/b0.bmp"), out + "/splash.png") && ok;
    ok = write(builtInPictures(), out + "/built-in-zoom.png") && ok;
    return ok ? 0 : 1;
}
