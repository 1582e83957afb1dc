// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/Texts.h"

#include "rules/LevelRecord.h"

namespace {

constexpr MessageText NoMessage{{"", ""}, -1};

constexpr Bilingual RestartHint{"Ich probier's nochmal.", "I try it again."};
constexpr Bilingual BackmoveHint{"Hoppala", "Oops"};
constexpr Bilingual SoundOnHint{"Ich möcht es lieber still.", "I don't like the sound."};
constexpr Bilingual SoundOffHint{"Ich mag die Geräusche.", "I like the sound."};
constexpr Bilingual EditHint{"Spiel verändern", "Edit game"};
constexpr Bilingual PegHint{"Kugeln wechseln", "Change balls"};
constexpr Bilingual StepHint{"Hilfe, zeig mir die Lösung.", "Help, show me the solution."};
constexpr Bilingual ExitHint{"Ich hab genug!", "That's enough for now!"};
constexpr Bilingual MovesHint{"Mehr Züge solltest Du nicht benötigen.", "You shouln't need more moves."};
constexpr Bilingual DiagonalHint{"Du darfst auch diagonal ziehen.", "You can also move diagonally."};
constexpr Bilingual NoDiagonalHint{"Du darfst nicht diagonal ziehen.", "You cannot move diagonally."};
constexpr Bilingual OriginalHint{"Dieses Originalbrett kannst Du nicht verändern.",
                                 "You cannot modify an original board."};
constexpr Bilingual NotOriginalHint{"Dieses Brett kannst Du verändern.", "You can modify this board."};
constexpr Bilingual SolvedHint{"Dieses Brett hast Du schon einmal gelöst.",
                               "You solved this board sometimes before."};
constexpr Bilingual NotSolvedHint{"Du hast für dieses Brett noch keine Lösung gefunden.",
                                  "For this board you don't have found a solution."};
constexpr Bilingual SelectorHint{"Wähle ein anderes Brett.", "Select another board."};
constexpr Bilingual HelpHint{"Ich laß mir unter die Arme greifen.", "I need help."};
constexpr Bilingual InfoHint{"Wer hat diese Spiele nur verbrochen?", "Who's the TOLVAR GAMES inventor?"};
constexpr Bilingual TolvarHint{"Hurra, es gibt noch mehr Tolvar Games.",
                               "Hurrah, there are more TOLVAR GAMES."};
// The hot corner offers the other background: the wooden board (0) offers stone and vice versa.
constexpr Bilingual OfferStoneHint{"Das Steinbrett wär mir lieber.", "I prefer the stone board."};
constexpr Bilingual OfferWoodHint{"Ich möcht ein Holzbrett.", "I take the wooden board."};
constexpr Bilingual MovesCaption{"Züge:", "Moves:"};

// Windows-1252 bytes 0x80 to 0x9F; the others are those of Latin-1. 0 marks the five unused bytes.
constexpr std::array<char16_t, 32> CodePageHigh{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
constexpr char32_t ControlPictures = 0x2400;
constexpr char32_t DeletePicture = 0x2421;
constexpr char32_t Unused = 0xFFFD;

char32_t shownCharacter(unsigned char byte) {
    if (byte < 0x20)
        return ControlPictures + byte;
    if (byte == 0x7F)
        return DeletePicture;
    if (byte >= 0x80 && byte < 0xA0) {
        const char16_t mapped = CodePageHigh[byte - 0x80u];
        return mapped == 0 ? Unused : mapped;
    }
    return byte;
}

void appendUtf8(std::string& text, char32_t c) {
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string ShownName(std::string_view nameBytes) {
    std::string shown;
    for (const char byte : nameBytes)
        appendUtf8(shown, shownCharacter(static_cast<unsigned char>(byte)));
    return shown;
}

MessageText QuestionText(int code) {
    if (code < 0 || code >= QuestionCount)
        return NoMessage;
    return QuestionTexts[static_cast<std::size_t>(code)];
}

MessageText NoticeText(int code) {
    if (code < 0 || code >= NoticeSlots)
        return NoMessage;
    return NoticeTexts[static_cast<std::size_t>(code)];
}

// The hints judge the flag words as the rest of the game does: any Original word but 0 marks an
// original (the editor refuses it), a Solved word counts when greater than zero.
MainHints ComputeHints(const HintInputs& in) {
    const int language = in.language;
    MainHints hints;
    hints.RestartBtn = RestartHint.in(language);
    hints.BackmoveBtn = BackmoveHint.in(language);
    hints.SoundBtn = (in.soundOn ? SoundOnHint : SoundOffHint).in(language);
    hints.EditBtn = EditHint.in(language);
    hints.PegBtn = PegHint.in(language);
    hints.StepBtn = StepHint.in(language);
    hints.ExitBtn = ExitHint.in(language);
    hints.movshape = MovesHint.in(language);
    hints.DiagShape = (in.diagonal != 0 ? DiagonalHint : NoDiagonalHint).in(language);
    hints.OrigShape = (in.original != 0 ? OriginalHint : NotOriginalHint).in(language);
    hints.SolvShape = (in.solved > 0 ? SolvedHint : NotSolvedHint).in(language);
    hints.levelscroll = SelectorHint.in(language);
    hints.HelpBtn = HelpHint.in(language);
    hints.InfoBtn = InfoHint.in(language);
    hints.TolvarBtn = TolvarHint.in(language);
    hints.BackShape = (in.background == 1 ? OfferWoodHint : OfferStoneHint).in(language);
    hints.MovesLabel = MovesCaption.in(language);
    hints.DiagShapeShown = in.shape != ShapeHexagon;
    hints.refreshEditorControls = !in.startingUp;
    return hints;
}

std::string WithValues(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string filled;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const bool placeholder =
            text[k] == '%' && k + 1 < text.size() && text[k + 1] >= '1' && text[k + 1] <= '9';
        const std::size_t index = placeholder ? static_cast<std::size_t>(text[k + 1] - '1') : values.size();
        if (index < values.size()) {
            filled += *(values.begin() + index);
            ++k;
        } else {
            filled += text[k];
        }
    }
    return filled;
}
