#include "core/BatchPrompter.h"

namespace hz {

Answer BatchPrompter::ask(MsgKind kind, const std::string& text, Buttons buttons)
{
    const Answer answer = answerFor(buttons);
    shown.push_back({kind, text, buttons, answer});
    // The texts use CR, LF and CR LF as line breaks; a terminal wants LF.
    std::string display;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            display += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            display += text[i];
        }
    }
    // A question is printed with the answer it got, so that the reader of the log knows which
    // way the run went on.
    if (isQuestion(buttons))
        display += std::string(" (Antwort: ") + answerWord(answer) + ")";
    m_err << prefix << severityWord(kind) << ": " << display << "\n";
    return answer;
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
