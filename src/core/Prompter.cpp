#include "core/Prompter.h"

namespace hz {

const char* kindName(MsgKind kind)
{
    switch (kind) {
    case MsgKind::Warning: return "warning";
    case MsgKind::Error: return "error";
    case MsgKind::Plain: return "plain";
    }
    return "plain";
}

const char* severityWord(MsgKind kind)
{
    switch (kind) {
    case MsgKind::Warning: return "Warnung";
    case MsgKind::Error: return "Fehler";
    case MsgKind::Plain: return "Hinweis";
    }
    return "Hinweis";
}

const char* answerName(Answer answer)
{
    switch (answer) {
    case Answer::Ok: return "ok";
    case Answer::Cancel: return "cancel";
    case Answer::Ignore: return "ignore";
    case Answer::Yes: return "yes";
    case Answer::No: return "no";
    }
    return "ok";
}

const char* answerWord(Answer answer)
{
    switch (answer) {
    case Answer::Ok: return "OK";
    case Answer::Cancel: return "Abbrechen";
    case Answer::Ignore: return "Ignorieren";
    case Answer::Yes: return "Ja";
    case Answer::No: return "Nein";
    }
    return "OK";
}

bool isQuestion(Buttons buttons)
{
    return buttons != Buttons::Ok && buttons != Buttons::Cancel && buttons != Buttons::Ignore;
}

std::vector<Answer> answersOf(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return {Answer::Ok};
    case Buttons::Cancel: return {Answer::Cancel};
    case Buttons::Ignore: return {Answer::Ignore};
    case Buttons::CancelIgnore: return {Answer::Cancel, Answer::Ignore};
    case Buttons::YesIgnore: return {Answer::Yes, Answer::Ignore};
    case Buttons::YesNo:
    case Buttons::YesNoDefaultNo: return {Answer::Yes, Answer::No};
    }
    return {};
}

bool offers(Buttons buttons, Answer answer)
{
    for (Answer a : answersOf(buttons))
        if (a == answer)
            return true;
    return false;
}

Answer answerThatChangesNothing(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::Cancel:
    case Buttons::CancelIgnore: return Answer::Cancel;
    case Buttons::Ignore:
    case Buttons::YesIgnore: return Answer::Ignore;
    case Buttons::YesNo:
    case Buttons::YesNoDefaultNo: return Answer::No;
    }
    return Answer::Cancel;
}

} // namespace hz
