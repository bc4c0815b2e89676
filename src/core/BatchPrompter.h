#pragma once
// The answers of a run without anybody to ask: the command-line tool and the window's
// screenshot mode. Every message is printed to a stream and answered by a fixed policy that
// lets the work go on wherever that is safe:
//
//   OK, Cancel-only, Ignore-only  the only button
//   Cancel / Ignore               Ignore   (missing PIC assignment or ID: the load goes on)
//   Yes / Ignore                  Ignore, or Yes when standard values were asked for
//                                 (missing configuration: `--default-config`)
//   Yes / No                      Yes      ("Geänderte Werte übernehmen?" at a save)
//   Yes / No, No the default      No       (a question whose Yes throws work away)

#include <ostream>
#include <string>
#include <vector>

#include "core/Prompter.h"

namespace hz {

class BatchPrompter : public Prompter {
public:
    struct Shown {
        MsgKind kind;
        std::string text;
        Buttons buttons;
        Answer answer;
    };

    BatchPrompter(std::ostream& err, bool standardValues = false) : m_err(err), m_standardValues(standardValues) {}

    Answer ask(MsgKind kind, const std::string& text, Buttons buttons) override;

    // Put before every message printed ("hexzwirbel-cli: FILE: "); the kind follows in German
    // ("Fehler: ", "Warnung: ", "Hinweis: "), and a question ends with the answer given
    // (" (Antwort: Ignorieren)").
    std::string prefix;
    // Everything shown so far, in order.
    std::vector<Shown> shown;

private:
    Answer answerFor(Buttons buttons) const;

    std::ostream& m_err;
    bool m_standardValues;
};

// One message as a run without a window prints it: `prefix` ("hexzwirbel-cli: FILE: "), the
// kind in German ("Fehler: ", "Warnung: ", "Hinweis: ") and `text`. A text of several lines
// (CR, LF or CR LF) goes on in lines indented by two spaces, its empty lines left out, so that
// every message starts with the prefix and a reader of the log (or a script) sees where one
// ends. Each line ends with LF, the last one too.
std::string BatchMessage(const std::string& prefix, MsgKind kind, const std::string& text);

} // namespace hz
