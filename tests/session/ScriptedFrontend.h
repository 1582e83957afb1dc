// SPDX-License-Identifier: GPL-3.0-or-later
// A frontend that answers questions from a queue and writes every call down as one line of text, so
// tests can check the exact order of what the session asks the screen to do.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "session/Frontend.h"

class ScriptedFrontend : public Frontend {
public:
    // Answers for the next questions, in order; a question with no answer queued fails the test.
    void answer(std::initializer_list<bool> answers) { m_answers.insert(m_answers.end(), answers); }
    // For tests that cannot know which questions come: every question without a queued answer gets this.
    void answerAnyQuestion(bool yes) { m_anyAnswer = yes; }
    // Runs `action` while the next question is open, as the player's input behind a modal window would.
    void whileNextQuestionOpen(std::function<void()> action) { m_whileOpen = std::move(action); }

    // The calls since the last take, then forgets them.
    std::vector<std::string> take();
    const std::vector<std::string>& calls() const { return m_calls; }
    bool pendingAnswers() const { return !m_answers.empty(); }

    void drawCell(int cell) override { record("draw " + std::to_string(cell)); }
    void drawTargetCell(int cell) override { record("drawTarget " + std::to_string(cell)); }
    void paintBoard() override { record("paintBoard"); }
    void updateTitle() override { record("title"); }
    void removalEffect(int cell) override { record("removal " + std::to_string(cell)); }
    void pause(int ms) override { record("pause " + std::to_string(ms)); }
    bool ask(Question question) override;
    void notice(Notice notice) override { record("notice " + std::to_string(static_cast<int>(notice))); }
    void showError(const std::string& text) override { record("error " + text); }
    void playSound(int number) override { record("sound " + std::to_string(number)); }
    void repaintStatus() override { record("status"); }
    void refreshHints() override { record("hints"); }
    void setStepEnabled(bool enabled) override { record(std::string("step ") + (enabled ? "on" : "off")); }
    void setRestartAndUndoEnabled(bool enabled) override {
        record(std::string("restartUndo ") + (enabled ? "on" : "off"));
    }
    void setSelector(int maximum, int position) override {
        record("selector " + std::to_string(maximum) + " " + std::to_string(position));
    }
    void startDrag(int x, int y, int code) override {
        record("startDrag " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(code));
    }
    void moveDrag(int x, int y) override {
        record("moveDrag " + std::to_string(x) + " " + std::to_string(y));
    }
    void endDrag() override { record("endDrag"); }
    void showEditor(bool visible) override { record(std::string("editor ") + (visible ? "on" : "off")); }
    void blinkHint(int from, int to) override {
        record("blinkHint " + std::to_string(from) + " " + std::to_string(to));
    }

private:
    void record(std::string call) { m_calls.push_back(std::move(call)); }

    std::deque<bool> m_answers;
    std::optional<bool> m_anyAnswer;
    std::function<void()> m_whileOpen;
    std::vector<std::string> m_calls;
};
