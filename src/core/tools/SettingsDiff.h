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
    // The page a "page" or "data" difference belongs to (its frame's object name); empty for
    // the others.
    std::string page{};
    // What the reports call a page setting or a part of a working copy (SettingName, the
    // page's name of its table); empty where `caption` says it.
    std::string label{};
    // The values are a check box's or radio button's "1"/"0", read as "ja"/"nein".
    bool yesNo = false;
};

std::vector<Difference> DiffSessions(const Session& a, const Session& b);

// The settings and the working copy of two models of the same page.
std::vector<Difference> DiffPages(const pages::Page& a, const pages::Page& b);

// One difference as a line of text: "Zeile 1 <Weiche>: Adresse: 5 → 6", "Servo 1: Spannung
// aus: nein → ja".
std::string DescribeDifference(const Difference& d);

// The parts of that line, for a table: where the setting is ("Adresszeilen", the page's title,
// "Dekoder", "Konfiguration", "Datei"), what it is ("Zeile 1 <Weiche>: Adresse", "Servo 1:
// Spannung aus") and one side's value as the reader reads it ("(fehlt)", "(leer)", "grün",
// "ja").
std::string DifferenceArea(const Difference& d);
std::string DifferenceSetting(const Difference& d);
std::string DifferenceValue(const Difference& d, const std::optional<std::string>& side);

// "Stellino  ab V3.58, V 3.60, PIC 629, Mot": the decoder in one line.
std::string SummaryText(const DecoderSummary& s);
// "Keine Unterschiede", "1 Unterschied", "12 Unterschiede".
std::string DifferenceCount(std::size_t n);

// The program words that differ between the two images and that no page shows: the firmware's
// program itself (a changed jump, another build). A page's table in program memory is a page's
// (its working copy tells the difference); every other word of program memory is counted.
std::size_t ProgramWordsNoPageShows(const Session& a, const Session& b);
// The count line of a comparison: DifferenceCount, but "Keine Unterschiede in den Einstellungen"
// where only the program differs.
std::string DifferenceCount(std::size_t n, std::size_t programWords);
// "Das Programm ist verschieden: 3 Programmwörter, die keine Seite zeigt." - empty for 0.
std::string ProgramWordsLine(std::size_t programWords);

// Whether two loaded files have settings in common at all: an address row of the same caption,
// or the same editor page. Between files without, a comparison lists everything and carrying
// settings has nothing to carry.
bool SettingsInCommon(const Session& a, const Session& b);
// How a report names a file's decoder: "<Stellino  ab V3.58>", "eine nicht erkannte Firmware".
std::string DecoderInReport(const Session& s);

// The comparison of "Vergleichen mit…": the loaded file as the window shows it (`here`, with
// every unsaved edit and every working copy not yet taken over - what the user sees is what is
// compared) against another file. A refusal (the files have nothing in common) or the
// differences with the lines that sum them up.
struct SettingsComparison {
    std::string refusal;
    std::vector<Difference> differences;
    std::size_t programWords = 0;
    std::string hereLine, thereLine, countLine;
    std::string programLine; // empty when the programs are the same
};
SettingsComparison CompareSettings(const Session& here, const std::string& hereName, const Session& there,
                                   const std::string& thereName);

} // namespace hz::tools
