#include "core/editor/Editor.h"

#include <filesystem>

#include "core/firmware/HexText.h"
#include "core/tools/SideSession.h"

namespace hz {

namespace {

// A file's name as the messages and reports show it.
std::string shownName(const std::string& path) { return DisplayName(std::filesystem::path(path).filename().string()); }

} // namespace

Editor::Editor(Session& session) : m_s(session) {}

void Editor::notify(Changes changes)
{
    if (changes.any() && m_listener)
        m_listener(changes);
}

std::string Editor::proposedSaveName() const { return m_savedTo.empty() ? m_s.image.LastFileName : m_savedTo; }

// ---------------------------------------------------------------------------------------------
// Loading

// How a load was asked for: the file named at start-up, a file the user opened (its folder is
// stepped through), or lines from memory (no folder).
enum class Editor::Opening { FromFolder, FromMemory };

template <class Load> LoadOutcome Editor::runLoad(const Load& load, const std::string& path, Opening how)
{
    LoadOutcome outcome = LoadOutcome::NoFile;
    try {
        outcome = load();
    } catch (...) {
        notify(Change::File | kShownState); // what the load got to, shown before the error is
        throw;
    }
    return afterLoad(outcome, path, how);
}

LoadOutcome Editor::afterLoad(LoadOutcome outcome, const std::string& path, Opening how)
{
    const bool ran = outcome == LoadOutcome::Done || outcome == LoadOutcome::Stopped;
    if (ran) {
        m_savedTo.clear();                                            // the save proposes the loaded file again
        m_file = outcome == LoadOutcome::Done ? path : std::string(); // a load that stopped shows no file
    }
    Changes changes = Change::File | kShownState | Change::Folder;
    m_folder.ScanFolder(how == Opening::FromFolder ? path : std::string());
    if (outcome == LoadOutcome::Done)
        changes |= Change::Recent;
    if (ran)
        m_s.markSaved();
    notify(changes);
    // The page is shown now: whatever it changed on its own, the user hears of it here, before
    // any save can write it. A file that could not be read leaves the one before shown, whose
    // corrections were told at its load.
    if (outcome != LoadOutcome::Done)
        return outcome;
    if (const std::string corrections = CorrectionsMessage(m_s.loadCorrections); !corrections.empty())
        m_s.prompter().tell(MsgKind::Warning, corrections, Buttons::Ok);
    return outcome;
}

LoadOutcome Editor::load(const std::string& path)
{
    return runLoad([&] { return m_s.LoadFile(path); }, path, Opening::FromFolder);
}

LoadOutcome Editor::open(const std::string& path)
{
    if (path.empty() || !m_s.ConfirmDiscardChanges())
        return LoadOutcome::NoFile;
    return runLoad([&] { return m_s.LoadFile(path); }, path, Opening::FromFolder);
}

LoadOutcome Editor::openLines(const std::vector<std::string>& lines, const std::string& name)
{
    if (!m_s.ConfirmDiscardChanges())
        return LoadOutcome::NoFile;
    return runLoad([&] { return m_s.LoadLines(lines, name); }, name, Opening::FromMemory);
}

// A copy: the load finds the neighbours anew.
LoadOutcome Editor::openPrevious() { return open(std::string(m_folder.PrevFile)); }

LoadOutcome Editor::openNext() { return open(std::string(m_folder.NextFile)); }

void Editor::redoLayout()
{
    m_s.RedoLayout();
    notify(Change::Rows | Change::Status | Change::History);
}

// ---------------------------------------------------------------------------------------------
// Saving

bool Editor::save(const NameChooser& choose)
{
    // Pending page changes not taken over, a refused row or lines that could not be built:
    // there is nothing to save, so no name is asked for.
    const bool prepared = m_s.PrepareSave();
    notify(Change::Rows | Change::Pages | Change::History);
    if (!prepared)
        return false;
    const std::string proposed = proposedSaveName();
    const std::string chosen = choose(proposed);
    Changes changes = Change::Rows | Change::Status | Change::History;
    bool written = false;
    if (chosen.empty()) {
        // Nothing written: the loaded file keeps its PIC beside its name.
        m_s.nameInStatus(proposed, m_savedTo.empty() && proposed == m_s.image.LastFileName);
    } else if (m_s.WriteBuiltLines(chosen)) { // the session marked the saved state
        m_s.nameInStatus(chosen);
        m_savedTo = chosen;
        m_file = chosen;
        changes |= Change::File | Change::Recent;
        written = true;
    }
    // A write that failed has said so and changed nothing, the status bar included.
    notify(changes);
    return written;
}

// ---------------------------------------------------------------------------------------------
// Edit history

void Editor::edited()
{
    m_s.noteEdit();
    notify(Change::History);
}

bool Editor::undo()
{
    if (!m_s.undo())
        return false;
    notify(kShownState);
    return true;
}

bool Editor::redo()
{
    if (!m_s.redo())
        return false;
    notify(kShownState);
    return true;
}

bool Editor::revertToFile()
{
    if (!m_s.revertToFile())
        return false;
    notify(kShownState);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Work with another file

bool Editor::settingsToolsAvailable() const { return m_s.SaveEnabled && m_s.ident.Type; }

std::optional<tools::SettingsComparison> Editor::compareWith(const std::string& path)
{
    if (!settingsToolsAvailable())
        return std::nullopt;
    tools::SideSession other;
    if (!other.load(path)) {
        m_s.prompter().tell(MsgKind::Error, other.failure(shownName(path)), Buttons::Ok);
        return std::nullopt;
    }
    tools::SettingsComparison comparison =
        tools::CompareSettings(m_s, shownName(m_s.image.LastFileName), other.session, shownName(path));
    if (!comparison.refusal.empty()) {
        m_s.prompter().tell(MsgKind::Warning, comparison.refusal, Buttons::Ok);
        return std::nullopt;
    }
    return comparison;
}

bool Editor::carrySettingsFrom(const std::string& path, const CarryConfirm& confirm)
{
    if (!settingsToolsAvailable())
        return false;
    tools::SideSession old;
    if (!old.load(path)) {
        m_s.prompter().tell(MsgKind::Error, old.failure(shownName(path)), Buttons::Ok);
        return false;
    }
    const tools::MigrationReport preview = tools::PreviewMigration(old.session, m_s);
    if (!preview.refusal.empty()) {
        m_s.prompter().tell(MsgKind::Warning,
                            "Aus \"" + shownName(path) +
                                "\" (ALT) lässt sich nichts in die geladene Datei (NEU) übernehmen.\n\n" +
                                preview.refusal,
                            Buttons::Ok);
        return false;
    }
    const std::string summary =
        tools::MigrationPreviewText(old.session, shownName(path), m_s, shownName(m_s.image.LastFileName));
    if (!confirm(preview, summary))
        return false;
    tools::CarrySettingsInto(m_s, old.session); // one step, which undo takes back
    notify(kShownState);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Reports

tools::SettingsSheet Editor::settingsSheet(const std::string& printedOn) const
{
    return tools::BuildSettingsSheet(m_s, m_file, printedOn);
}

tools::LayoutScan Editor::layoutOverview(const std::vector<std::string>& paths, const tools::ScanControl& control)
{
    return tools::ScanLayout(paths, control);
}

} // namespace hz
