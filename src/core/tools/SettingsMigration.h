#pragma once
// Carrying the settings of one firmware file into another (typically a newer release of the
// same decoder): every address row of the old file goes to the row of the new one with the
// same caption (the k-th row of a caption to its k-th row, where captions repeat), every page
// setting to the control of the same name, kind and caption - typed, ticked, clicked and
// selected through the page's own handlers, as a user would - and a page's working copy to
// a page of the same frame, size and layout. What cannot be carried (no such row or control,
// another caption, a value the new file refuses, a copy whose entries mean something else
// there) is listed with the reason, never guessed, and the new file keeps its own value for
// it: what the report lists as carried is what the new file holds, and nothing else changed.

#include <cstddef>
#include <string>
#include <vector>

#include "core/Session.h"

namespace hz::tools {

struct CarriedSetting {
    std::string where;   // "row", "page" or "data"
    std::string name;    // "N" (the old file's row), a control name, a page's frame
    std::string caption; // row caption, control caption, "Arbeitskopie"
    std::string value;   // what was carried ("5 grün", "7/2", "17")
    std::string reason;  // empty when carried; otherwise why not (German)
    int targetRow = 0;   // rows: the row of the new file with that caption (0: there is none)
    // Rows: the parts of `value` - the address, the state of a red/green row ("green", "red")
    // and the function number of a function-decoder row (empty where the row has none).
    std::string address{}, state{}, function{};
    // The page a "page" or "data" entry belongs to (its frame's object name); empty for rows.
    std::string page{};
    // What the reports call it: a row as "Zeile 1 <Weiche>", a setting by SettingName, a
    // working copy by the page's name of its table; empty where `caption` says it.
    std::string label{};
    // What NEU held there before anything was carried, as the reader reads it ("5 rot", "ja",
    // "andere Werte"); empty where NEU has no such thing.
    std::string before{};
    // NEU held the carried value already: carrying changed nothing there.
    bool unchanged = false;
    // The value is a check box's or radio button's "1"/"0", read as "ja"/"nein".
    bool yesNo = false;
};

struct MigrationReport {
    // Set when the two files have nothing in common; then nothing was touched.
    std::string refusal;
    std::vector<CarriedSetting> carried;
    std::vector<CarriedSetting> notCarried;
};

// What becomes of the messages the target's pages and rows give while settings are typed in
// (a value out of range, say): shown as the target shows every message (the tool prints them),
// or kept back - the report names each refusal with its message, and a question is answered
// with the button that changes nothing.
enum class CarryMessages { Shown, KeptBack };

// Carries the settings of `from` into `to`. `to` is left ready for the normal save; its rows
// hold the carried texts, its pages the carried settings (working copies pending).
MigrationReport MigrateSettings(const Session& from, Session& to, CarryMessages messages = CarryMessages::Shown);

// The settings of one page model into another of the same frame, through the target's
// handlers; the working copy through setData. With the target's session, what its handlers
// say about a value counts: a warning refuses the value, and the message is the reason.
void CarryPage(const pages::Page& from, pages::Page& to, MigrationReport& report, Session* target = nullptr,
               CarryMessages messages = CarryMessages::Shown);

// "Einstellungen übernehmen aus…" of the window, as one edit of the loaded file: the settings of
// `from` carried into `window` with the messages kept back (the dialog has listed them), and
// every carried working copy written into the image - the user's "Übernehmen" in the dialog has
// answered "Geänderte Werte übernehmen?" for it. What the rows carried is written at the save.
// In a session that keeps a history the carrying is one step of its own.
MigrationReport CarrySettingsInto(Session& window, const Session& from);

// What "Einstellungen übernehmen aus…" would carry from `from` into `window`, tried on a copy of
// what the window shows now (its edits, rows and working copies included); `window` is not
// touched. The same report CarrySettingsInto gives afterwards.
MigrationReport PreviewMigration(const Session& from, const Session& window);

// An entry's value as the reader reads it: "17 grün", "12/3", "255", "ja"; "(leer)" for nothing.
std::string CarriedValue(const CarriedSetting& s);
// What NEU held before, as the reader reads it; "(leer)" for an empty setting, "" where NEU
// has no such setting.
std::string CarriedBefore(const CarriedSetting& s);
// What an entry is, as every report names it: "Zeile 1 <Weiche>", "Servo 1: Spannung aus",
// "Kurventabelle (alle vier Kurven)".
std::string CarriedSubject(const CarriedSetting& s);
// Where it is: "Adresszeilen" or the page's title.
std::string CarriedArea(const CarriedSetting& s);
// The entry as a line of the report: "Zeile 1 <Weiche>: 17 grün - NEU hat keine Zeile <Weiche>.";
// a carried one with what NEU held: "CV029: Konfigbyte: 14 (bisher 6)", "... (unverändert)".
std::string DescribeCarried(const CarriedSetting& s);
// How many carried entries changed nothing in NEU.
std::size_t UnchangedCount(const std::vector<CarriedSetting>& list);
// "12 davon hatte NEU schon so." - empty for 0.
std::string UnchangedLine(std::size_t count);
// "Übernommen (3)" / "Nicht übernommen (1)"; before it is done: "Wird übernommen (3)" /
// "Wird nicht übernommen (1)".
std::string CarriedHeading(bool carried, std::size_t count, bool beforehand = false);

// The lines above the preview of "Einstellungen übernehmen aus…": which file is ALT and which
// NEU, as the reasons call them, and what "Übernehmen" does.
std::string MigrationPreviewText(const Session& from, const std::string& fromName, const Session& to,
                                 const std::string& toName);

} // namespace hz::tools
