#pragma once
// A Prompter for tests: records every message shown and answers from a queue. When the queue
// is empty it answers with the first button of the set (OK, Cancel, Ignore, Cancel, Yes, Yes).

#include <deque>
#include <string>
#include <vector>

#include "core/Prompter.h"

namespace hz::test {

struct ShownMessage {
    MsgKind kind;
    std::string text;
    Buttons buttons;
};

class ScriptedPrompter : public Prompter {
public:
    Answer ask(MsgKind kind, const std::string& text, Buttons buttons) override
    {
        shown.push_back({kind, text, buttons});
        if (!answers.empty()) {
            const Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        switch (buttons) {
        case Buttons::Ok: return Answer::Ok;
        case Buttons::Cancel:
        case Buttons::CancelIgnore: return Answer::Cancel;
        case Buttons::Ignore: return Answer::Ignore;
        case Buttons::YesIgnore:
        case Buttons::YesNo:
        case Buttons::YesNoDefaultNo: return Answer::Yes;
        }
        return Answer::Ok;
    }

    std::vector<std::string> texts() const
    {
        std::vector<std::string> t;
        for (const auto& m : shown)
            t.push_back(m.text);
        return t;
    }

    void clear()
    {
        shown.clear();
        answers.clear();
    }

    std::deque<Answer> answers;
    std::vector<ShownMessage> shown;
};

} // namespace hz::test
