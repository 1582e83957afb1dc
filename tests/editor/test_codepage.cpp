// SPDX-License-Identifier: GPL-3.0-or-later
// Board names between the edit field's text and the name slot's Windows-1252 bytes.
#include <gtest/gtest.h>

#include "windows/Codepage.h"

TEST(NameCodepage, UmlautsAndTheEuroSignHaveTheirOwnBytes) {
    EXPECT_EQ(NameBytesFromText(QString::fromUtf8("Größe ÄÖÜß")), QByteArray("Gr\xF6\xDF"
                                                                             "e \xC4\xD6\xDC\xDF"));
    EXPECT_EQ(NameBytesFromText(QString::fromUtf8("5 €")), QByteArray("5 \x80"));
    EXPECT_EQ(TextFromNameBytes(QByteArray("\x80 Gr\xF6\xDF"
                                           "e")),
              QString::fromUtf8("€ Größe"));
}

TEST(NameCodepage, CharactersTheCodePageLacksBecomeOneQuestionMarkEach) {
    EXPECT_EQ(NameBytesFromText(QString::fromUtf8("a中b")), QByteArray("a?b"));
    EXPECT_EQ(NameBytesFromText(QString::fromUtf8("x😀y")), QByteArray("x?y"))
        << "a surrogate pair is one character";
    EXPECT_EQ(NameBytesFromText(QString(QChar(0x1A))), QByteArray("\x1A")) << "a real U+001A is not a gap";
}

TEST(NameCodepage, NamesAreCutToFiftyBytes) {
    const QString sixty = QString::fromUtf8("ä").repeated(60);
    const QByteArray bytes = NameBytesFromText(sixty);
    EXPECT_EQ(bytes.size(), 50);
    EXPECT_EQ(bytes, QByteArray(50, '\xE4'));
    EXPECT_EQ(NameBytesFromText(QString::fromUtf8("中").repeated(80)).size(), 50);
    EXPECT_TRUE(NameBytesFromText(QString()).isEmpty());
}

// Control characters included: the editor shows them as pictures and gives them back unchanged.
TEST(NameCodepage, RoundTripOfEveryCharacterTheCodePageHas) {
    EXPECT_EQ(TextFromNameBytes(QByteArray("a\nb\x7F")), QString::fromUtf8("a\u240Ab\u2421"));
    QByteArray all;
    for (int byte = 0x00; byte <= 0xFF; ++byte) {
        if (byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 && byte != 0x9D)
            all.append(static_cast<char>(byte));
    }
    for (int start = 0; start < all.size(); start += 50) {
        const QByteArray chunk = all.mid(start, 50);
        EXPECT_EQ(NameBytesFromText(TextFromNameBytes(chunk)), chunk);
    }
}
