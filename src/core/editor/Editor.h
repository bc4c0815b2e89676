#pragma once
// The user's commands on the loaded firmware file as operations over the Session: open, save,
// undo, carry settings from another file, step through the folder. Every face (the window, a
// browser) calls these and nothing else for them, so the questions, their order and the
// messages are the same everywhere. An operation asks through the session's prompter; where it
// needs more of the face (the name to save under, whether to carry what the preview lists) it
// takes a function that answers. What an operation changed it reports through one listener, as
// a set of Changes, and the face redraws those parts from the session.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Session.h"
#include "core/editor/FolderBrowser.h"
#include "core/tools/LayoutScan.h"
#include "core/tools/SettingsDiff.h"
#include "core/tools/SettingsMigration.h"
#include "core/tools/SettingsSheet.h"

namespace hz {

// What an operation may have changed; a face redraws what is set.
enum class Change : std::uint8_t {
    File = 1 << 0,    // which file is shown and whether it can be saved (title, save button)
    Rows = 1 << 1,    // the address rows
    Pages = 1 << 2,   // the controls of the shown pages
    Status = 1 << 3,  // the status bar texts
    History = 1 << 4, // undo, redo and the unsaved mark
    Folder = 1 << 5,  // the previous and next file of the folder
    Recent = 1 << 6,  // a file was opened or saved under a name the user picked: file() is one to remember
};

class Changes {
public:
    constexpr Changes() = default;
    constexpr Changes(Change c) : m_bits(static_cast<unsigned>(c)) {}
    constexpr Changes operator|(Changes o) const { return fromBits(m_bits | o.m_bits); }
    constexpr Changes& operator|=(Changes o) { return *this = *this | o; }
    constexpr bool has(Change c) const { return (m_bits & static_cast<unsigned>(c)) != 0; }
    constexpr bool any() const { return m_bits != 0; }
    constexpr bool operator==(const Changes&) const = default;
    constexpr unsigned bits() const { return m_bits; }

private:
    static constexpr Changes fromBits(unsigned bits)
    {
        Changes c;
        c.m_bits = bits;
        return c;
    }
    unsigned m_bits = 0;
};

constexpr Changes operator|(Change a, Changes b) { return Changes(a) | b; }

// Everything the session shows of the edited file.
inline constexpr Changes kShownState = Change::Rows | Change::Pages | Change::Status | Change::History;

class Editor {
public:
    explicit Editor(Session& session);

    Session& session() { return m_s; }
    const Session& session() const { return m_s; }
    // Called once per operation that changed something, after the change and before the
    // operation's closing message; where an operation hands over to the face in between (the
    // save's name), also before that, so the face shows the state it asks over.
    void onChange(std::function<void(Changes)> listener) { m_listener = std::move(listener); }

    // The file shown: the file loaded, or the file last saved to; empty while none is.
    const std::string& file() const { return m_file; }
    // The name a save proposes: the file last saved to after a save since the load, else the
    // loaded file. So saving again after saving under a new name is not one Enter away from
    // overwriting the file the firmware came from.
    std::string proposedSaveName() const;
    const FolderBrowser& folder() const { return m_folder; }

    // "HEX laden": asks "Die Änderungen wurden nicht gespeichert. Trotzdem fortfahren?" while
    // there are unsaved changes (No, or an empty name: nothing happens, NoFile), loads the file,
    // tells the load's corrections and finds the folder's neighbours for "<" and ">".
    LoadOutcome open(const std::string& path);
    // The same for lines already in memory under `name` (a face without files); there is no
    // folder to step through.
    LoadOutcome openLines(const std::vector<std::string>& lines, const std::string& name);
    // "<" and ">": the folder's previous or next file, opened as open() does.
    LoadOutcome openPrevious();
    LoadOutcome openNext();
    // The file named at start-up (the command line, the file manager's "Öffnen mit"): opened
    // as open() does - folder for "<" and ">", "Zuletzt geöffnet" - without the question, as
    // nothing is open yet.
    LoadOutcome load(const std::string& path);
    // The second identification pass after a start-up load: layout, page and header only.
    void redoLayout();

    // Gives the name to save under, proposing `proposed`; empty: the user cancelled.
    using NameChooser = std::function<std::string(const std::string& proposed)>;
    // "speichern": the session's PrepareSave (with "Geänderte Werte übernehmen?"), then the name
    // from `choose`, then the write. True when the file was written.
    bool save(const NameChooser& choose);

    // The edit history: a user's edit has reached the page models (a step is noted), undo,
    // redo and "Auf Dateistand zurücksetzen". False when there was nothing to do.
    void edited();
    bool undo();
    bool redo();
    bool revertToFile();

    // Whether the shown file is one the settings tools work on: loaded all the way through and
    // of a decoder type the catalogue knows.
    bool settingsToolsAvailable() const;
    // "Vergleichen mit…": how the settings of the file at `path` differ from what is shown now.
    // None (after saying why) when that file does not load or has nothing in common.
    std::optional<tools::SettingsComparison> compareWith(const std::string& path);
    // Whether to carry what the preview lists; `summary` names which file is ALT and which NEU.
    using CarryConfirm = std::function<bool(const tools::MigrationReport& preview, const std::string& summary)>;
    // "Einstellungen übernehmen aus…": loads the file at `path`, tries the carrying on a copy,
    // lets `confirm` decide on that preview and carries the settings in as one edit, which one
    // undo takes back. True when they were carried.
    bool carrySettingsFrom(const std::string& path, const CarryConfirm& confirm);

    // The settings sheet of what is shown now, naming file(); printed on `printedOn`.
    tools::SettingsSheet settingsSheet(const std::string& printedOn = tools::TodayText()) const;
    // "Anlagen-Übersicht": the firmware files below `paths`. It reads no session and may run
    // on a thread of its own.
    static tools::LayoutScan layoutOverview(const std::vector<std::string>& paths,
                                            const tools::ScanControl& control = {});

private:
    // What every load shares: the outcome's file, the saved mark, the notification, then the
    // corrections' warning.
    enum class Opening;
    LoadOutcome afterLoad(LoadOutcome outcome, const std::string& path, Opening how);
    template <class Load> LoadOutcome runLoad(const Load& load, const std::string& path, Opening how);
    void notify(Changes changes);

    Session& m_s;
    std::function<void(Changes)> m_listener;
    std::string m_file;
    // The file the loaded one was last saved to; empty until a save after the last load.
    std::string m_savedTo;
    FolderBrowser m_folder;
};

} // namespace hz
