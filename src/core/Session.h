#pragma once
// Everything the program knows about the one loaded firmware file, and the load and save
// sequences. The main window and the command-line tool both drive a Session; the window
// attaches itself as the SessionView and answers the prompter with message boxes.

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

    FirmwareImage image;
    StatusPanels status;
    AddressRowStore rows;
    IdentificationState ident;
    HexReader reader;
    Identification identification;
    AddressPage addresses;

private:
    LoadOutcome afterReading(LoadOutcome read);

    Prompter& m_prompter;
    SessionView m_noView;
    SessionView* m_view = &m_noView;
};

} // namespace hz
