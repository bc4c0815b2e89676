// mnemonic WORD...: the PIC instruction name of program words, as the comparison shows them.

#include <ostream>

#include "cli/Command.h"
#include "core/firmware/HexText.h"
#include "core/inspect/Mnemonic.h"

namespace hz::cli {

namespace {

class MnemonicCommand : public Command {
public:
    const char* name() const override { return "mnemonic"; }
    Operands operands() const override
    {
        return {"WORT...", "ein oder mehrere Programmwörter", 1, static_cast<std::size_t>(-1), false};
    }
    std::vector<CommandOption> options() const override { return {}; }
    const char* summary() const override { return "Nennt den PIC-Befehl von Programmwörtern, z.B. 2812 [GOTO  ]."; }
    const char* description() const override
    {
        return "Nennt den PIC-Befehl jedes Programmworts (1 bis 4 Hex-Ziffern), so wie der\n"
               "Vergleich ihn zeigt, z.B. 2812 [GOTO  ]. Erst werden alle Wörter geprüft, dann\n"
               "ausgegeben: ein ungültiges Wort ist ein Aufruffehler, und nichts wird ausgegeben.\n";
    }
    int run(const Options& o, std::ostream& out, std::ostream& err) const override
    {
        // Every word is checked before anything is printed: a script gets all or nothing.
        for (const std::string& w : o.files) {
            if (w.empty() || w.size() > 4 || !isHexDigits(w))
                return usageError(err, "\"" + w + "\" ist kein Programmwort aus 1 bis 4 Hex-Ziffern.");
        }
        for (const std::string& w : o.files) {
            const std::string word = upperAscii(std::string(4 - w.size(), '0') + w);
            out << word << " [" << MnemonicOf(word.substr(0, 2), word.substr(2, 2)) << "]\n";
        }
        return 0;
    }
};

} // namespace

std::unique_ptr<Command> makeMnemonicCommand() { return std::make_unique<MnemonicCommand>(); }

} // namespace hz::cli
