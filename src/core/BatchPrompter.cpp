#include "core/BatchPrompter.h"

namespace hz {

Answer BatchPrompter::ask(MsgKind kind, const std::string& text, Buttons buttons)
{
    shown.push_back({kind, text, buttons});
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
    m_err << prefix << kindName(kind) << ": " << display << "\n";
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
