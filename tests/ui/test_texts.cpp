// SPDX-License-Identifier: GPL-3.0-or-later
// The message tables and the main window's hints by language and state.
#include <gtest/gtest.h>

#include <string>

#include "session/Texts.h"

namespace {

int leadLines(std::string_view text) {
    int lines = 0;
    while (lines < static_cast<int>(text.size()) && text[static_cast<std::size_t>(lines)] == '\n')
        ++lines;
    return lines;
}

} // namespace

TEST(MessageTexts, ExactTextsInBothLanguages) {
    EXPECT_EQ(QuestionText(0).text.in(LanguageGerman), "\nWillst Du das Brett wirklich entfernen?");
    EXPECT_EQ(QuestionText(0).text.in(LanguageEnglish), "\nDo you really want to remove the level?");
    EXPECT_EQ(QuestionText(1).text.in(LanguageEnglish),
              "Congratulation, you needed fewer moves as the saved solution. \nShall I save your solution?");
    EXPECT_EQ(QuestionText(1).text.in(LanguageGerman),
              "Gratulation, Deine L\xC3\xB6sung ist k\xC3\xBCrzer als die gespeicherte.\n"
              "Soll ich Deine L\xC3\xB6sung speichern?");
    EXPECT_EQ(QuestionText(3).text.in(LanguageEnglish), "\nDo you really want to giveup the board?");
    EXPECT_EQ(QuestionText(5).text.in(LanguageGerman),
              "\nSoll ich die \xC3\x84nderungen bei diesem Brett \xC3\xBC"
              "bernehmen?");
    EXPECT_EQ(NoticeText(0).text.in(LanguageGerman), "\n\nFertig!");
    EXPECT_EQ(NoticeText(1).text.in(LanguageGerman), "\nLeider, das war's wohl!");
    EXPECT_EQ(NoticeText(5).text.in(LanguageEnglish), "\n\nError occured while importing board.");
    EXPECT_EQ(NoticeText(6).text.in(LanguageEnglish), "\nYou cannot export an original board!");
}

TEST(MessageTexts, LeadLinesOfEveryCode) {
    constexpr std::array<int, QuestionCount> questionLeads{1, 0, 0, 1, 1, 1, 1, 0, 0, 0};
    for (int code = 0; code < QuestionCount; ++code) {
        for (const int language : {LanguageGerman, LanguageEnglish}) {
            const std::string_view text = QuestionText(code).text.in(language);
            EXPECT_EQ(leadLines(text), questionLeads[static_cast<std::size_t>(code)]) << code;
            EXPECT_GT(text.size(), 10u);
        }
    }
    for (const auto& [code, lead] :
         {std::pair{0, 2}, {1, 1}, {2, 2}, {3, 1}, {5, 2}, {6, 1}, {7, 1}, {8, 1}}) {
        for (const int language : {LanguageGerman, LanguageEnglish}) {
            const std::string_view text = NoticeText(code).text.in(language);
            EXPECT_EQ(leadLines(text), lead) << code;
            EXPECT_GT(text.size(), static_cast<std::size_t>(lead) + 4);
        }
    }
}

TEST(MessageTexts, OnlyGermanPicksGerman) {
    for (const int language : {LanguageUnset, LanguageEnglish, 2, -7})
        EXPECT_EQ(NoticeText(2).text.in(language), "\n\nHurrah, you did it!") << language;
    EXPECT_EQ(NoticeText(2).text.in(LanguageGerman), "\n\nHurra, geschafft!");
    EXPECT_EQ(YesCaption.in(LanguageUnset), "Yes");
    EXPECT_EQ(NoCaption.in(LanguageGerman), "Nein");
}

TEST(MessageTexts, FiguresByCode) {
    constexpr std::array<int, QuestionCount> questionFigures{2, 0, 1, 3, 4, 1, 1, 2, 3, 3};
    for (int code = 0; code < QuestionCount; ++code)
        EXPECT_EQ(QuestionText(code).figure, questionFigures[static_cast<std::size_t>(code)]);
    EXPECT_EQ(NoticeText(0).figure, QuestionText(0).figure);
    EXPECT_EQ(NoticeText(1).figure, 3);
    EXPECT_EQ(NoticeText(2).figure, 1);
    EXPECT_EQ(NoticeText(3).figure, 4);
    EXPECT_EQ(NoticeText(5).figure, 4);
    EXPECT_EQ(NoticeText(6).figure, 4);
    EXPECT_EQ(NoticeText(7).figure, 3);
    EXPECT_EQ(NoticeText(8).figure, 2);
}

TEST(MessageTexts, CodesThatDoNotExistGiveNothing) {
    for (const int code : {-1, 10, 1000}) {
        EXPECT_TRUE(QuestionText(code).text.in(LanguageGerman).empty());
        EXPECT_EQ(QuestionText(code).figure, -1);
    }
    for (const int code : {-1, 4, 9}) {
        EXPECT_TRUE(NoticeText(code).text.in(LanguageEnglish).empty());
        EXPECT_EQ(NoticeText(code).figure, -1);
    }
}

// Values go in once: a file name that holds a placeholder or a percent sign comes out as it is.
TEST(MessageTexts, ValuesFillTheirPlaceholdersInOnePass) {
    EXPECT_EQ(WithValues(FileErrorText.in(LanguageEnglish), {"2", "/home/a %2/%1.dat"}),
              "Fileerror 2 with file /home/a %2/%1.dat.");
    EXPECT_EQ(WithValues(CannotCreateCollectionText.in(LanguageGerman), {"7"}),
              "Datei VORN.DAT kann nicht angelegt werden. (7)");
    EXPECT_EQ(WithValues("100% %3 %1", {"x"}), "100% %3 x");
}

TEST(MainHints, SoundHintFollowsTheButton) {
    HintInputs in;
    in.soundOn = true;
    EXPECT_EQ(ComputeHints(in).SoundBtn, "I don't like the sound.");
    in.soundOn = false;
    EXPECT_EQ(ComputeHints(in).SoundBtn, "I like the sound.");
    in.language = LanguageGerman;
    EXPECT_EQ(ComputeHints(in).SoundBtn, "Ich mag die Ger\xC3\xA4usche.");
    in.soundOn = true;
    EXPECT_EQ(ComputeHints(in).SoundBtn, "Ich m\xC3\xB6"
                                         "cht es lieber still.");
}

TEST(MainHints, BackgroundHintOffersTheOtherBoard) {
    HintInputs in;
    EXPECT_EQ(ComputeHints(in).BackShape, "I prefer the stone board.");
    in.background = 1;
    EXPECT_EQ(ComputeHints(in).BackShape, "I take the wooden board.");
    in.language = LanguageGerman;
    EXPECT_EQ(ComputeHints(in).BackShape, "Ich m\xC3\xB6"
                                          "cht ein Holzbrett.");
}

TEST(MainHints, BoardFlagsChooseTheIndicatorHints) {
    HintInputs in;
    MainHints hints = ComputeHints(in);
    EXPECT_EQ(hints.DiagShape, "You cannot move diagonally.");
    EXPECT_EQ(hints.OrigShape, "You can modify this board.");
    EXPECT_EQ(hints.SolvShape, "For this board you don't have found a solution.");
    in.diagonal = 1;
    in.original = 1;
    in.solved = 1;
    hints = ComputeHints(in);
    EXPECT_EQ(hints.DiagShape, "You can also move diagonally.");
    EXPECT_EQ(hints.OrigShape, "You cannot modify an original board.");
    EXPECT_EQ(hints.SolvShape, "You solved this board sometimes before.");
    in.language = LanguageGerman;
    in.diagonal = 200;
    hints = ComputeHints(in);
    EXPECT_EQ(hints.DiagShape, "Du darfst auch diagonal ziehen.");
    EXPECT_EQ(hints.OrigShape, "Dieses Originalbrett kannst Du nicht ver\xC3\xA4ndern.");
    EXPECT_EQ(hints.SolvShape, "Dieses Brett hast Du schon einmal gel\xC3\xB6st.");
}

// A damaged negative Original word marks an original, as the editor takes it; a negative Solved word
// counts as not solved, as the status panel shows it.
TEST(MainHints, NegativeFlagWordsAreReadAsEverywhereElse) {
    HintInputs in;
    in.original = -1;
    in.solved = -32768;
    const MainHints hints = ComputeHints(in);
    EXPECT_EQ(hints.OrigShape, "You cannot modify an original board.");
    EXPECT_EQ(hints.SolvShape, "For this board you don't have found a solution.");
}

TEST(MainHints, DiagonalHintOnlyOnSquareBoards) {
    HintInputs in;
    in.diagonal = 1;
    in.shape = 0;
    EXPECT_TRUE(ComputeHints(in).DiagShapeShown);
    in.shape = 1;
    EXPECT_FALSE(ComputeHints(in).DiagShapeShown);
    in.shape = 5; // any shape but hexagonal is square
    EXPECT_TRUE(ComputeHints(in).DiagShapeShown);
}

TEST(MainHints, EditorControlsRefreshOutsideStartup) {
    HintInputs in;
    in.startingUp = true;
    EXPECT_FALSE(ComputeHints(in).refreshEditorControls);
    in.startingUp = false;
    EXPECT_TRUE(ComputeHints(in).refreshEditorControls);
}

TEST(MainHints, FixedTextsInBothLanguages) {
    HintInputs in;
    MainHints english = ComputeHints(in);
    EXPECT_EQ(english.RestartBtn, "I try it again.");
    EXPECT_EQ(english.movshape, "You shouln't need more moves.");
    EXPECT_EQ(english.InfoBtn, "Who's the TOLVAR GAMES inventor?");
    EXPECT_EQ(english.MovesLabel, "Moves:");
    in.language = LanguageGerman;
    MainHints german = ComputeHints(in);
    EXPECT_EQ(german.HelpBtn, "Ich la\xC3\x9F mir unter die Arme greifen.");
    EXPECT_EQ(german.MovesLabel, "Z\xC3\xBCge:");
    EXPECT_EQ(german.levelscroll, "W\xC3\xA4hle ein anderes Brett.");
    // Every hint exists in both languages, and the two differ.
    const std::array<std::pair<std::string_view, std::string_view>, 16> pairs{{
        {english.RestartBtn, german.RestartBtn},
        {english.BackmoveBtn, german.BackmoveBtn},
        {english.SoundBtn, german.SoundBtn},
        {english.EditBtn, german.EditBtn},
        {english.PegBtn, german.PegBtn},
        {english.StepBtn, german.StepBtn},
        {english.ExitBtn, german.ExitBtn},
        {english.movshape, german.movshape},
        {english.DiagShape, german.DiagShape},
        {english.OrigShape, german.OrigShape},
        {english.SolvShape, german.SolvShape},
        {english.levelscroll, german.levelscroll},
        {english.HelpBtn, german.HelpBtn},
        {english.InfoBtn, german.InfoBtn},
        {english.TolvarBtn, german.TolvarBtn},
        {english.BackShape, german.BackShape},
    }};
    for (const auto& [en, de] : pairs) {
        EXPECT_FALSE(en.empty());
        EXPECT_FALSE(de.empty());
        EXPECT_NE(en, de);
    }
}
