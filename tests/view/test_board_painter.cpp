// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QStringList>

#include <array>
#include <vector>

#include "TestPictures.h"
#include "view/BoardPainter.h"
#include "view/Raster.h"

using testpics::PlaceColour;
using testpics::Sentinel;

namespace {

LevelRecord Board(std::uint8_t shape, std::uint8_t size) {
    LevelRecord record;
    record.Shape = shape;
    record.Size = size;
    return record;
}

// A board area, a painter on it, and the inputs the painter reads.
struct Fixture {
    QImage background = testpics::MakeBackground();
    QImage area = raster::MakePicture(500, 333);
    std::vector<QRect> changes;
    BoardPainter painter{area, [this](const QRect& r) {
                             changes.push_back(r);
                         }};
    LevelRecord record;
    Position cells{};
    bool editing = false;
    int first = 1;
    int second = 2;

    explicit Fixture(LevelRecord board) : record(board) {
        area.fill(Sentinel);
        painter.setBackground(background);
    }
    BoardInputs inputs() const { return {cells, record, editing, first, second}; }
    QRgb bg(int x, int y) const { return background.pixel(x, y); }
};

// What a big field must show: the background at the field, with a hole, marker or peg on it.
QRgb ExpectedBigPixel(const Fixture& f, int cell, CellCode code, int u, int v) {
    const CellPlace p = PlaceOf(f.record, cell);
    const QRect field = p.bigField();
    const QRgb under = f.bg(field.x() + u, field.y() + v);
    switch (code) {
    case 0:
        if (f.editing && u >= 10 && u < 13 && v >= 10 && v < 13)
            return f.bg(553 + u - 10, 280 + v - 10);
        return under;
    case 1:
        if (u >= 4 && u < 20 && v >= 4 && v < 20)
            return f.bg((f.record.Shape == 1 ? 772 : 500) + p.bx + u - 4, p.by + v - 4);
        return under;
    case 2:
    case 3:
        if (testpics::InsideRound(u, v, 24))
            return testpics::PegColour(code == 2 ? f.first : f.second, u, v, 24);
        return under;
    default:
        return under;
    }
}

QRgb ExpectedSmallPixel(const Fixture& f, int cell, CellCode code, int u, int v) {
    const CellPlace p = PlaceOf(f.record, cell);
    const QRect field = p.smallField();
    const QRgb under = f.bg(field.x() + u, field.y() + v);
    switch (code) {
    case 0:
        if (f.editing && u >= 5 && u < 8 && v >= 5 && v < 8)
            return f.bg(553 + u - 5, 280 + v - 5);
        return under;
    case 1:
        if (u >= 2 && u < 10 && v >= 2 && v < 10)
            return f.bg(1044 + p.sx + u - 2, (f.record.Shape == 1 ? 136 : 0) + p.sy + v - 2);
        return under;
    case 2:
    case 3:
        if (testpics::InsideRound(u, v, 12))
            return testpics::PegColour(code == 2 ? f.first : f.second, u, v, 12);
        return under;
    default:
        return under;
    }
}

// Compares a whole field; returns the first difference as text, or an empty string.
std::string CheckBigField(const Fixture& f, int cell, CellCode code) {
    const QRect field = PlaceOf(f.record, cell).bigField();
    for (int v = 0; v < 24; ++v)
        for (int u = 0; u < 24; ++u)
            if (f.area.pixel(field.x() + u, field.y() + v) != ExpectedBigPixel(f, cell, code, u, v))
                return "cell " + std::to_string(cell) + " code " + std::to_string(code) + " at " +
                       std::to_string(u) + "," + std::to_string(v);
    return {};
}

std::string CheckSmallField(const Fixture& f, int cell, CellCode code) {
    const QRect field = PlaceOf(f.record, cell).smallField();
    for (int v = 0; v < 12; ++v)
        for (int u = 0; u < 12; ++u)
            if (f.area.pixel(field.x() + u, field.y() + v) != ExpectedSmallPixel(f, cell, code, u, v))
                return "cell " + std::to_string(cell) + " code " + std::to_string(code) + " at " +
                       std::to_string(u) + "," + std::to_string(v);
    return {};
}

int CountPixelsOf(const QImage& image, QRgb colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == colour;
    return count;
}

} // namespace

TEST(CellGeometry, MatchesTheWorkedExamples) {
    const CellPlace square = PlaceOf(Board(0, 7), 20);
    EXPECT_EQ(QPoint(square.bx, square.by), QPoint(96, 96));
    EXPECT_EQ(square.bigField().topLeft(), QPoint(122, 122));
    EXPECT_EQ(square.smallField().topLeft(), QPoint(376, 80));

    const CellPlace hex = PlaceOf(Board(1, 7), 29);
    EXPECT_EQ(QPoint(hex.bx, hex.by), QPoint(112, 128));
    EXPECT_EQ(hex.bigField().topLeft(), QPoint(138, 154));
    EXPECT_EQ(hex.smallField().topLeft(), QPoint(384, 96));
}

TEST(CellGeometry, EverySizeAndShapeIsCentredAndAgreesWithTheClickAnchors) {
    for (std::uint8_t shape : {0, 1})
        for (std::uint8_t size = 5; size <= 9; ++size) {
            const LevelRecord record = Board(shape, size);
            QRect big, small;
            std::vector<QRect> fields;
            for (int cell = 0; cell < CellCount; ++cell) {
                if (!IsOnBoard(record, cell))
                    continue;
                const CellPlace p = PlaceOf(record, cell);
                for (const QRect& other : fields)
                    EXPECT_FALSE(other.intersects(p.bigField())) << cell;
                fields.push_back(p.bigField());
                big |= p.bigField();
                small |= p.smallField();
                // The click anchors: the hole's corner, 2 pixels higher (1 on the small board) on a hexagonal
                // board.
                const int c = cell % 9, r = cell / 9, s = size;
                const QPoint bigAnchor =
                    shape == 0 ? QPoint(174 - 16 * s + 32 * c, 174 - 16 * s + 32 * r)
                               : QPoint(174 - 16 * s + 32 * c + (r % 2 ? 16 : 0), 170 - 14 * s + 28 * r);
                EXPECT_EQ(p.bigField().topLeft() + QPoint(4, shape == 0 ? 4 : 2), bigAnchor);
                const QPoint smallAnchor =
                    shape == 0 ? QPoint(402 - 8 * s + 16 * c, 106 - 8 * s + 16 * r)
                               : QPoint(402 - 8 * s + 16 * c + (r % 2 ? 8 : 0), 104 - 7 * s + 14 * r);
                EXPECT_EQ(p.smallField().topLeft() + QPoint(2, shape == 0 ? 2 : 1), smallAnchor);
            }
            const QPoint bigCentre = big.topLeft() + big.bottomRight() + QPoint(1, 1);
            const QPoint smallCentre = small.topLeft() + small.bottomRight() + QPoint(1, 1);
            EXPECT_EQ(bigCentre, QPoint(2 * 166, 2 * 166)) << int(shape) << " size " << int(size);
            EXPECT_EQ(smallCentre, QPoint(2 * 398, 2 * 102)) << int(shape) << " size " << int(size);
            // Neither board reaches into the background switch in the lower right corner.
            EXPECT_FALSE(big.intersects(QRect(326, 239, 171, 93)));
            EXPECT_FALSE(small.intersects(QRect(326, 239, 171, 93)));
        }
    QRect nine, five;
    for (int cell = 0; cell < CellCount; ++cell) {
        if (IsOnBoard(Board(0, 9), cell))
            nine |= PlaceOf(Board(0, 9), cell).bigField();
        if (IsOnBoard(Board(0, 5), cell))
            five |= PlaceOf(Board(0, 5), cell).bigField();
    }
    EXPECT_EQ(nine.left(), 26);
    EXPECT_EQ(nine.right(), 305);
    EXPECT_EQ(five.left(), 90);
    EXPECT_EQ(five.right(), 241);
}

TEST(DrawCell, TheWorkedExampleTakesItsHoleFromTheMatchingPlace) {
    Fixture f(Board(0, 7));
    f.cells[20] = 1;
    f.painter.DrawCell(f.inputs(), 20);
    EXPECT_EQ(f.area.pixel(126, 126), PlaceColour(596, 96));
    EXPECT_EQ(f.area.pixel(141, 141), PlaceColour(611, 111));
    EXPECT_EQ(f.area.pixel(122, 122), PlaceColour(122, 122));
    EXPECT_EQ(f.area.pixel(145, 145), PlaceColour(145, 145));
    EXPECT_EQ(f.area.pixel(146, 146), Sentinel); // the field is 24 x 24
    EXPECT_EQ(f.area.pixel(121, 122), Sentinel);
    ASSERT_EQ(f.changes.size(), 1u);
    EXPECT_EQ(f.changes[0], QRect(122, 122, 24, 24));

    Fixture h(Board(1, 7));
    h.cells[29] = 1;
    h.painter.DrawCell(h.inputs(), 29);
    EXPECT_EQ(h.area.pixel(142, 158), PlaceColour(884, 128));
    EXPECT_EQ(h.area.pixel(138, 154), PlaceColour(138, 154));
}

TEST(DrawCell, EveryCodeInPlayAndEditingOnBothShapes) {
    for (std::uint8_t shape : {0, 1})
        for (std::uint8_t size = 5; size <= 9; ++size)
            for (bool editing : {false, true})
                for (CellCode code : {0, 1, 2, 3, 4, 255}) {
                    Fixture f(Board(shape, size));
                    f.editing = editing;
                    f.first = 4;
                    f.second = 9;
                    f.cells.fill(code);
                    f.painter.DrawAllCells(f.inputs());
                    int fieldPixels = 0;
                    for (int cell = 0; cell < CellCount; ++cell) {
                        if (!IsOnBoard(f.record, cell))
                            continue;
                        fieldPixels += 24 * 24;
                        const std::string diff = CheckBigField(f, cell, code);
                        ASSERT_TRUE(diff.empty()) << diff << " shape " << int(shape) << " size " << int(size)
                                                  << " editing " << editing;
                    }
                    // Nothing else was touched: off-board cells show what was there.
                    EXPECT_EQ(CountPixelsOf(f.area, Sentinel), 500 * 333 - fieldPixels);
                }
}

TEST(DrawCell, OffBoardCellsAreNeverDrawn) {
    Fixture f(Board(1, 9));
    f.cells.fill(2);
    f.painter.DrawCell(f.inputs(), 17); // last cell of an odd hexagonal row
    f.painter.DrawCell(f.inputs(), -1);
    f.painter.DrawCell(f.inputs(), 81);
    Fixture g(Board(0, 5));
    g.cells.fill(2);
    g.painter.DrawCell(g.inputs(), 5); // column 5 of a size-5 board
    g.painter.DrawCell(g.inputs(), 45);
    EXPECT_EQ(CountPixelsOf(f.area, Sentinel), 500 * 333);
    EXPECT_EQ(CountPixelsOf(g.area, Sentinel), 500 * 333);
    EXPECT_TRUE(f.changes.empty());
}

TEST(DrawCell, ChangingOneDesignRepaintsOnlyThatColour) {
    Fixture f(Board(0, 7));
    f.cells[0] = 2;
    f.cells[1] = 3;
    f.record.TargetCells[0] = 2;
    f.record.TargetCells[1] = 3;
    f.painter.boxPaint(f.inputs());
    const QImage before = f.area;
    f.first = 7;
    f.painter.DrawAllCells(f.inputs());
    f.painter.DrawAllTargetCells(f.inputs());
    EXPECT_TRUE(CheckBigField(f, 0, 2).empty());
    EXPECT_TRUE(CheckSmallField(f, 0, 2).empty());
    const QRect second = PlaceOf(f.record, 1).bigField();
    EXPECT_EQ(f.area.copy(second), before.copy(second));
    EXPECT_NE(f.area.copy(PlaceOf(f.record, 0).bigField()), before.copy(PlaceOf(f.record, 0).bigField()));
}

TEST(DrawTargetCell, EveryCodeOnBothShapesFromTheTargetPosition) {
    for (std::uint8_t shape : {0, 1})
        for (std::uint8_t size = 5; size <= 9; ++size)
            for (bool editing : {false, true})
                for (CellCode code : {0, 1, 2, 3, 200}) {
                    Fixture f(Board(shape, size));
                    f.editing = editing;
                    f.record.TargetCells.fill(code);
                    f.cells.fill(code == 1 ? 2 : 1); // the position played must not matter
                    f.painter.DrawAllTargetCells(f.inputs());
                    int fieldPixels = 0;
                    for (int cell = 0; cell < CellCount; ++cell) {
                        if (!IsOnBoard(f.record, cell))
                            continue;
                        fieldPixels += 12 * 12;
                        const std::string diff = CheckSmallField(f, cell, code);
                        ASSERT_TRUE(diff.empty()) << diff << " shape " << int(shape) << " size " << int(size);
                    }
                    EXPECT_EQ(CountPixelsOf(f.area, Sentinel), 500 * 333 - fieldPixels);
                }
}

TEST(DrawTargetCell, TheWorkedExampleTakesItsHoleFromTheMatchingPlace) {
    Fixture f(Board(1, 7));
    f.record.TargetCells[29] = 1;
    f.painter.DrawTargetCell(f.inputs(), 29);
    EXPECT_EQ(f.area.pixel(386, 98), PlaceColour(1044 + 56, 136 + 64));
    EXPECT_EQ(f.area.pixel(384, 96), PlaceColour(384, 96));
    Fixture s(Board(0, 7));
    s.record.TargetCells[20] = 1;
    s.painter.DrawTargetCell(s.inputs(), 20);
    EXPECT_EQ(s.area.pixel(378, 82), PlaceColour(1044 + 48, 48));
}

TEST(BoxPaint, DrawsBackgroundThenBothBoardsAndReportsTheWholeArea) {
    Fixture f(Board(1, 8));
    for (int cell = 0; cell < CellCount; ++cell) {
        f.cells[cell] = static_cast<CellCode>(cell % 4);
        f.record.TargetCells[cell] = static_cast<CellCode>((cell + 1) % 4);
    }
    f.painter.boxPaint(f.inputs());
    ASSERT_EQ(f.changes.size(), 1u);
    EXPECT_EQ(f.changes[0], QRect(0, 0, 500, 333));
    QImage expected = f.background.copy(0, 0, 500, 333);
    for (int cell = 0; cell < CellCount; ++cell)
        if (IsOnBoard(f.record, cell)) {
            ASSERT_TRUE(CheckBigField(f, cell, f.cells[cell]).empty());
            ASSERT_TRUE(CheckSmallField(f, cell, f.record.TargetCells[cell]).empty());
            const CellPlace p = PlaceOf(f.record, cell);
            for (const QRect& field : {p.bigField(), p.smallField()})
                for (int y = field.top(); y <= field.bottom(); ++y)
                    for (int x = field.left(); x <= field.right(); ++x)
                        expected.setPixel(x, y, f.area.pixel(x, y));
        }
    EXPECT_EQ(f.area, expected); // everything outside the fields is the board background
}

TEST(BoxPaint, HostileRecordsDrawInsideThePictures) {
    // Size 200 lays out like 9 (as IsOnBoard judges it); shape 7 is square; code 255 is background.
    Fixture f(Board(7, 200));
    f.cells.fill(255);
    f.record.TargetCells.fill(255);
    f.painter.boxPaint(f.inputs());
    EXPECT_EQ(f.area, f.background.copy(0, 0, 500, 333));

    f.cells.fill(2);
    f.record.TargetCells.fill(1);
    f.first = -13;
    f.second = 1000;
    f.painter.boxPaint(f.inputs());
    // Design numbers out of range wrap round instead of reading elsewhere in the picture.
    const QRect field = PlaceOf(f.record, 80).bigField();
    EXPECT_EQ(field, QRect(282, 282, 24, 24));
    EXPECT_EQ(f.area.pixel(field.x() + 12, field.y() + 12), testpics::PegColour(11, 12, 12, 24));
    f.cells.fill(3);
    f.painter.DrawCell(f.inputs(), 80);
    EXPECT_EQ(f.area.pixel(field.x() + 12, field.y() + 12), testpics::PegColour(1000 % 12, 12, 12, 24));

    for (std::uint8_t size : {0, 1, 2, 3, 4, 10, 255}) {
        Fixture g(Board(1, size));
        g.cells.fill(1);
        g.record.TargetCells.fill(1);
        g.painter.boxPaint(g.inputs());
        for (int cell = 0; cell < CellCount; ++cell)
            if (IsOnBoard(g.record, cell)) {
                const CellPlace p = PlaceOf(g.record, cell);
                ASSERT_TRUE(QRect(0, 0, 500, 333).contains(p.bigField()));
                ASSERT_TRUE(QRect(0, 0, 500, 333).contains(p.smallField()));
                // Above 9 a hexagon's odd rows gain a ninth cell, whose holes lie beyond the hole
                // regions; those reads are clipped at the picture's edge.
                if (size <= 9) {
                    ASSERT_TRUE(QRect(772, 16, 272, 240).contains(QRect(772 + p.bx, p.by, 16, 16)));
                    ASSERT_TRUE(QRect(1044, 144, 136, 120).contains(QRect(1044 + p.sx, 136 + p.sy, 8, 8)));
                }
                ASSERT_TRUE(CheckBigField(g, cell, 1).empty()) << int(size);
            }
    }
}

TEST(BoxPaint, ABrokenBackgroundPictureDrawsNothingFromOutsideIt) {
    for (const QImage& broken :
         {QImage(), QImage(10, 10, QImage::Format_Indexed8), QImage(600, 100, QImage::Format_RGB32)}) {
        Fixture f(Board(0, 9));
        f.painter.setBackground(broken);
        f.cells.fill(2);
        f.record.TargetCells.fill(1);
        f.painter.boxPaint(f.inputs());
        f.painter.DrawCell(f.inputs(), 40);
        EXPECT_EQ(f.area.size(), QSize(500, 333));
        EXPECT_EQ(f.area.pixel(499, 332), 0xFF000000u);
    }
}

namespace {

struct EffectRecorder {
    std::vector<std::string> calls;
    std::vector<QImage> atPauses;
    QImage* area = nullptr;
    EffectHooks hooks() {
        return {[this](int n) { calls.push_back("sound " + std::to_string(n)); },
                [this](int ms) {
                    calls.push_back("pause " + std::to_string(ms));
                    atPauses.push_back(*area);
                }};
    }
};

} // namespace

TEST(RemovalEffect, LeavesExactlyTheEmptyHoleAndPauses28Times) {
    for (std::uint8_t shape : {0, 1}) {
        Fixture f(Board(shape, 7));
        const int cell = shape == 0 ? 20 : 29;
        f.cells[cell] = 2;
        f.painter.boxPaint(f.inputs());
        f.cells[cell] = 1;

        Fixture reference(Board(shape, 7));
        reference.cells = f.cells;
        reference.painter.boxPaint(reference.inputs());

        EffectRecorder recorder;
        recorder.area = &f.area;
        std::mt19937 random(12345);
        f.changes.clear();
        f.painter.RemovalEffect(f.inputs(), cell, random, recorder.hooks());

        ASSERT_EQ(recorder.calls.size(), 29u);
        EXPECT_EQ(recorder.calls.front(), "sound 7");
        for (std::size_t k = 1; k < recorder.calls.size(); ++k)
            EXPECT_EQ(recorder.calls[k], "pause 1");
        // The 24 x 24 field looks exactly as DrawCell draws an empty hole; the 4-pixel margin right
        // and below got the background that was already there.
        EXPECT_EQ(f.area, reference.area);
        EXPECT_TRUE(CheckBigField(f, cell, 1).empty());
        // The widget was told before each pause and once at the end.
        const QRect effect(PlaceOf(f.record, cell).bigField().topLeft(), QSize(28, 28));
        ASSERT_EQ(f.changes.size(), 29u);
        for (const QRect& r : f.changes)
            EXPECT_EQ(r, effect);
    }
}

TEST(RemovalEffect, WritesOnePixelPerStepInRandomOrder) {
    auto pixelsChangedAtPauses = [](unsigned seed) {
        Fixture f(Board(0, 7));
        f.cells[20] = 2;
        f.painter.boxPaint(f.inputs());
        // A board area that differs from the hole everywhere in the effect, so every write shows.
        f.area.fill(Sentinel);
        f.cells[20] = 1;
        EffectRecorder recorder;
        recorder.area = &f.area;
        std::mt19937 random(seed);
        f.painter.RemovalEffect(f.inputs(), 20, random, recorder.hooks());
        std::vector<std::vector<QPoint>> written;
        for (const QImage& shot : recorder.atPauses) {
            std::vector<QPoint> places;
            for (int y = 122; y < 150; ++y)
                for (int x = 122; x < 150; ++x)
                    if (shot.pixel(x, y) != Sentinel)
                        places.emplace_back(x, y);
            written.push_back(places);
        }
        return written;
    };
    const auto first = pixelsChangedAtPauses(1);
    ASSERT_EQ(first.size(), 28u);
    for (std::size_t n = 0; n < first.size(); ++n)
        EXPECT_EQ(first[n].size(), 1 + 28 * n); // pause after pixel 0, 28, 56, ...
    // Not raster order, and a different seed gives a different order; the same seed repeats it.
    int inFirstRow = 0;
    for (const QPoint& place : first[1])
        inFirstRow += place.y() == 122;
    EXPECT_LT(inFirstRow, 10);
    EXPECT_NE(first, pixelsChangedAtPauses(2));
    EXPECT_EQ(first, pixelsChangedAtPauses(1));
}

TEST(RemovalEffect, OffBoardCellDoesNothingAtAll) {
    Fixture f(Board(1, 5));
    EffectRecorder recorder;
    recorder.area = &f.area;
    std::mt19937 random(1);
    const std::mt19937 unused = random;
    f.painter.RemovalEffect(f.inputs(), 17, random, recorder.hooks());
    f.painter.RemovalEffect(f.inputs(), 200, random, recorder.hooks());
    EXPECT_TRUE(recorder.calls.empty());
    EXPECT_EQ(CountPixelsOf(f.area, Sentinel), 500 * 333);
    EXPECT_EQ(random, unused);
}

TEST(UpdateTitle, NumberAndNameInTheLanguagesSlot) {
    LevelRecord record;
    EXPECT_EQ(UpdateTitle(12, record, 0), QStringLiteral("Tolvar Pegs 12"));
    record.Names[0].setText("Cross");
    record.Names[1].setText("Kreuz \xFC\x80"); // Windows-1252: u umlaut, euro sign
    EXPECT_EQ(UpdateTitle(12, record, 0), QStringLiteral("Tolvar Pegs 12 - Cross"));
    EXPECT_EQ(UpdateTitle(12, record, -1), QStringLiteral("Tolvar Pegs 12 - Cross"));
    EXPECT_EQ(UpdateTitle(3, record, 1), QString::fromUtf8("Tolvar Pegs 3 - Kreuz \u00FC\u20AC"));
    record.Names[1].Length = 0;
    EXPECT_EQ(UpdateTitle(200, record, 1), QStringLiteral("Tolvar Pegs 200"));
    // A damaged length byte reads at most the slot's 50 characters.
    record.Names[0].Chars.fill('a');
    record.Names[0].Length = 255;
    EXPECT_EQ(UpdateTitle(1, record, 0), QStringLiteral("Tolvar Pegs 1 - ") + QString(50, QLatin1Char('a')));
    // Control characters of a name never reach the title; the name keeps them.
    record.Names[0].setText("A\x1B]0;x\x07"
                            "B\nC\tD");
    EXPECT_EQ(UpdateTitle(1, record, 0),
              QString::fromUtf8("Tolvar Pegs 1 - A\u241B]0;x\u2407B\u240AC\u2409D"));
    EXPECT_EQ(record.Names[0].text(), "A\x1B]0;x\x07"
                                      "B\nC\tD");
}
