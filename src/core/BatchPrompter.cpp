#include "core/BatchPrompter.h"

#include <algorithm>
#include <string_view>

namespace hz {

Answer BatchPrompter::ask(MsgKind kind, const std::string& text, Buttons buttons)
{
    const Answer answer = answerFor(buttons);
    shown.push_back({kind, text, buttons, answer});
    // A question is printed with the answer it got, so that the reader of the log knows which
    // way the run went on.
    m_err << BatchMessage(prefix, kind, isQuestion(buttons) ? text + " (Antwort: " + answerWord(answer) + ")" : text);
    return answer;
}

std::string BatchMessage(const std::string& prefix, MsgKind kind, const std::string& text)
{
    std::string lines = prefix + severityWord(kind) + ": ";
    // The texts use CR, LF and CR LF as line breaks; a terminal wants LF. A break followed by
    // another (an empty line) or by nothing starts no line.
    bool lineOpen = true;
    const std::size_t start = text.find_first_not_of("\r\n");
    for (const char c : std::string_view(text).substr(std::min(start, text.size()))) {
        if (c == '\r' || c == '\n') {
            if (lineOpen)
                lines += '\n';
            lineOpen = false;
            continue;
        }
        if (!lineOpen)
            lines += "  ";
        lineOpen = true;
        lines += c;
    }
    if (lineOpen)
        lines += '\n';
    return lines;
}

Answer BatchPrompter::answerFor(Buttons buttons) const
{
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::Cancel: return Answer::Cancel;
    case Buttons::Ignore:
    case Buttons::CancelIgnore: return Answer::Ignore;
    case Buttons::YesIgnore: return m_standardValues ? Answer::Yes : Answer::Ignore;
    case Buttons::YesNo: return Answer::Yes;
    // Nobody is there to say that work may be thrown away.
    case Buttons::YesNoDefaultNo: return Answer::No;
    }
    return Answer::Ok;
}

} // namespace hz
