#pragma once

#include "options/InputBoxes.h"

#include <deque>
#include <vector>

namespace nimbrel {

// Input boxes answered from a script, in order; every box asked is kept. A box with no answer
// left is cancelled.
class ScriptedInputs final : public InputBoxes {
public:
    struct Box {
        QStringList prompt;
        QString defaultText;
    };
    std::deque<QString> answers;
    std::vector<Box> asked;

    QString ask(const QStringList& promptLines, const QString& defaultText) override {
        asked.push_back({promptLines, defaultText});
        if (answers.empty()) return QString();
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace nimbrel
