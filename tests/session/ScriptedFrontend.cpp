// SPDX-License-Identifier: GPL-3.0-or-later
#include "ScriptedFrontend.h"

#include <gtest/gtest.h>

#include <utility>

std::vector<std::string> ScriptedFrontend::take() {
    std::vector<std::string> calls;
    calls.swap(m_calls);
    return calls;
}

bool ScriptedFrontend::ask(Question question) {
    record("ask " + std::to_string(static_cast<int>(question)));
    if (m_whileOpen)
        std::exchange(m_whileOpen, nullptr)();
    if (m_answers.empty() && m_anyAnswer)
        return *m_anyAnswer;
    if (m_answers.empty()) {
        ADD_FAILURE() << "question " << static_cast<int>(question) << " asked with no answer queued";
        return false;
    }
    const bool yes = m_answers.front();
    m_answers.pop_front();
    return yes;
}
