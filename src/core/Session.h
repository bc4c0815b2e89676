#pragma once
// Everything the program knows about the one loaded firmware file, and the load and save
// sequences. The main window and the command-line tool both drive a Session; the window
// attaches itself as the SessionView and answers the prompter with message boxes.

#include <array>
#include <string>
#include <vector>

#include "Prompter.h"
#include "SessionView.h"
#include "catalogue/AddressPage.h"
#include "catalogue/Identification.h"
#include "firmware/FirmwareImage.h"
#include "firmware/HexReader.h"
#include "firmware/StatusPanels.h"

namespace hz {

inline constexpr const char* kUnsavedChangesQuestion = "Die Änderungen wurden nicht gespeichert. Trotzdem fortfahren?";

class Session {
public:
    explicit Session(Prompter& prompter);

    Prompter& prompter() { return m_prompter; }
    void setView(SessionView* view) { m_view = view ? view : &m_noView; }
    SessionView& view() { return *m_view; }

    // The load sequence: read, identify, ask about missing records, decode the address rows.
    // Returns Done when it went through; Stopped when a line failed or the user chose Cancel.
    LoadOutcome LoadFile(const std::string& fileName);
    // The same sequence on lines already in memory.
    LoadOutcome LoadLines(const std::vector<std::string>& lines, const std::string& fileName);

    // First half of a save: validates, encodes and writes the address rows into the image
    // (unless the firmware takes no address input) and regenerates the HEX lines. False when a
    // row was refused or the lines could not be built; the image's lines are then not usable.
    bool PrepareSave();
    // Second half: writes the lines PrepareSave built to `path`, atomically. Failures are
    // reported through the prompter.
    bool WriteBuiltLines(const std::string& path);
    // Both halves, for callers without a file dialog in between.
    bool SaveTo(const std::string& path) { return PrepareSave() && WriteBuiltLines(path); }

    // True once a load has gone all the way through; stays true after a later failed load.
    bool SaveEnabled = false;

    // Unsaved changes: the image and the address rows as they were when the file was last
    // loaded or saved, against what they are now. One comparison instead of "modified" flags
    // in every page: a change typed and typed back is no change. Callers that keep the row
    // texts in widgets copy them into `addresses` first.
    void TakeSnapshot();
    bool HasUnsavedChanges() const;
    // Asks "Die Änderungen wurden nicht gespeichert. Trotzdem fortfahren?" when there are
    // unsaved changes; true when there are none or the user chose Yes.
    bool ConfirmDiscardChanges();

    FirmwareImage image;
    StatusPanels status;
    AddressRowStore rows;
    IdentificationState ident;
    HexReader reader;
    Identification identification;
    AddressPage addresses;

private:
    LoadOutcome afterReading(LoadOutcome read);
    LoadOutcome identifyAndDecode(LoadOutcome read);

    struct Snapshot {
        FirmwareImage::Memory memory;
        std::string id;
        std::array<std::string, 4> config;
        std::array<bool, 4> configPresent{};
        std::array<std::string, AddressPage::kRows> address, function;
        std::array<int, AddressPage::kRows> rowState{};
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot currentState() const;
    Snapshot m_snapshot;

    Prompter& m_prompter;
    SessionView m_noView;
    SessionView* m_view = &m_noView;
};

} // namespace hz
