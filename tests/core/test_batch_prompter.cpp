#include <gtest/gtest.h>

#include <sstream>

#include "core/BatchPrompter.h"

// A message of several lines stays recognisable as one message in a log: its further lines are
// indented, its empty lines left out.
TEST(BatchMessage, FurtherLinesAreIndentedAndEmptyLinesLeftOut)
{
    struct Case {
        std::string text;
        std::string printed;
    } cases[] = {
        {"Eine Zeile.", "p: Warnung: Eine Zeile.\n"},
        {"vor V3.26\n\nVersion des HEX-File: 3.25", "p: Warnung: vor V3.26\n  Version des HEX-File: 3.25\n"},
        {"a\r\nb\rc\n", "p: Warnung: a\n  b\n  c\n"}, // CR LF, CR and LF; a final break adds nothing
        {"\n\nerst hier\n\n\nund hier", "p: Warnung: erst hier\n  und hier\n"}, // breaks at the start too
        {"Liste:\n  0x20", "p: Warnung: Liste:\n    0x20\n"},                   // an indented line keeps its own indent
        {"", "p: Warnung: \n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hz::BatchMessage("p: ", hz::MsgKind::Warning, c.text), c.printed) << c.printed;

    // a question gets its answer after the last line
    std::ostringstream err;
    hz::BatchPrompter prompter(err);
    prompter.prefix = "hexzwirbel-cli: a.hex: ";
    prompter.ask(hz::MsgKind::Warning, "Kein Config-Wert.\n\nStandard-Wert erzeugen?", hz::Buttons::YesIgnore);
    EXPECT_EQ(err.str(), "hexzwirbel-cli: a.hex: Warnung: Kein Config-Wert.\n  Standard-Wert erzeugen? (Antwort: "
                         "Ignorieren)\n");
    // what was asked is kept as it was given
    EXPECT_EQ(prompter.shown.back().text, "Kein Config-Wert.\n\nStandard-Wert erzeugen?");
}
