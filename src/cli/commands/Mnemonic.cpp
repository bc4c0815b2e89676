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
    const char* usage() const override
    {
        return "  mnemonic WORT...\n"
               "      Nennt den PIC-Befehl jedes Programmworts (1 bis 4 Hex-Ziffern),\n"
               "      z.B. 2812 [GOTO  ].\n";
    }
    int run(const Options& o, std::ostream& out, std::ostream& err) const override
    {
        if (o.files.empty() || o.json || o.defaultConfig || !o.output.empty() || !o.rowValues.empty() ||
            !o.actions.empty())
            return usageError(err, "mnemonic erwartet ein oder mehrere Programmwörter.");
        // Every word is checked before anything is printed: a script gets all or nothing.
        for (const std::string& w : o.files) {
            if (w.empty() || w.size() > 4 || !isHexDigits(w)) {
                err << "hexzwirbel-cli: \"" << w << "\" ist kein Programmwort aus 1 bis 4 Hex-Ziffern.\n";
                return 2;
            }
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
