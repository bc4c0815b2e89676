#pragma once
// The one channel through which core code talks to the user.
//
// Core code never opens a window. Every message and every question goes through a Prompter:
// the GUI answers with a modal message box, the tests with a scripted fake, the command-line
// tool with its documented non-interactive policy.

#include <string>
#include <vector>

namespace hz {

enum class MsgKind { Warning, Error, Plain };

// The button sets the firmware editor ever offers. YesNoDefaultNo is Yes and No with No as
// the default button, for questions where Yes throws work away: Enter must not discard.
enum class Buttons { Ok, Cancel, Ignore, CancelIgnore, YesIgnore, YesNo, YesNoDefaultNo };

enum class Answer { Ok, Cancel, Ignore, Yes, No };

class Prompter {
public:
    virtual ~Prompter() = default;
    // Shows `text` (UTF-8, "\n" and "\r" as line breaks) and returns the button pressed.
    virtual Answer ask(MsgKind kind, const std::string& text, Buttons buttons) = 0;

    // Convenience for plain notices whose answer does not matter.
    void tell(MsgKind kind, const std::string& text, Buttons buttons) { (void)ask(kind, text, buttons); }
};

// Name of a kind as used in machine-readable output ("warning", "error", "plain").
const char* kindName(MsgKind kind);
// The kind as a reader of the messages calls it: "Warnung", "Fehler", "Hinweis".
const char* severityWord(MsgKind kind);

// Name of an answer as used in machine-readable output ("ok", "cancel", "ignore", "yes", "no").
const char* answerName(Answer answer);
// The answer as the button that gives it is labelled: "OK", "Abbrechen", "Ignorieren", "Ja", "Nein".
const char* answerWord(Answer answer);
// True when the buttons offer a choice, so that the answer says something.
bool isQuestion(Buttons buttons);
// The answers the buttons of the set give, in the order the buttons stand.
std::vector<Answer> answersOf(Buttons buttons);
// True when `answer` is one of the buttons of the set.
bool offers(Buttons buttons, Answer answer);
// The button of the set that changes nothing: Cancel, No, Ignore or OK.
Answer answerThatChangesNothing(Buttons buttons);

} // namespace hz
