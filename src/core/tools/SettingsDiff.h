#pragma once
// What differs between two loaded firmware files, as the editor shows them: decoder type,
// version, PIC and address format; every address row (address, red/green, function number);
// every page setting; the working copies of the pages that keep one; the configuration and
// ID words. Two sessions in, a list of differences out - in words, not in bytes.

#include <optional>
#include <string>
#include <vector>

#include "core/Session.h"

namespace hz::tools {

// The decoder a session holds, as a report names it.
struct DecoderSummary {
    std::optional<std::string> type; // the catalogue name; none when the file was not recognised
    int identifier = 0;
    std::string version; // "3.60", "" when the file carried none
    int pic = 0;
    std::string format; // "Mot", "DCC" or "ohne"
};
DecoderSummary Summarise(const Session& s);
// The type as a report names it: the catalogue name, or "nicht erkannt (0x...)".
std::string TypeText(const DecoderSummary& s);

struct Difference {
    // "type" (type, version, pic, format), "row", "page", "data", "config", "id", or "stored":
    // a byte a page corrects when it is shown, compared as the files hold it.
    std::string where;
    // What differs: "type", "version", "pic", "format"; for a row "N:address", "N:rg",
    // "N:function", "N:caption"; a control's name; "FRAME[i..j]" or "FRAME:PART[i..j]" for a
    // stretch of a working copy, "FRAME:count" for its size, "FRAME" for a page only one
    // side shows; "CONFIG1".."CONFIG4"; "ID"; "EEPROM 0x20" for a stored byte.
    std::string name;
    // What the editor calls it: the row's caption, the control's caption, the part's name; for a
    // stored byte the reason the page corrects it.
    std::string caption;
    // Each side's value; none when that side has no such thing. A row's red/green state is
    // "green" or "red".
    std::optional<std::string> a, b;
};

std::vector<Difference> DiffSessions(const Session& a, const Session& b);

// The settings and the working copy of two models of the same page.
std::vector<Difference> DiffPages(const pages::Page& a, const pages::Page& b);

// One difference as a line of text: "Zeile 1 <Weiche>: Adresse 5 → 6".
std::string DescribeDifference(const Difference& d);

} // namespace hz::tools
