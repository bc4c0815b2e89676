#pragma once
// Everything the program knows about the one loaded firmware file, and the load and save
// sequences. The main window and the command-line tool both drive a Session; the window
// attaches itself as the SessionView and answers the prompter with message boxes.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "core/EditHistory.h"
#include "core/LoadCorrections.h"
#include "core/Prompter.h"
#include "core/SessionView.h"
#include "core/StatusTexts.h"
#include "core/catalogue/Identification.h"
#include "core/firmware/FirmwareImage.h"
#include "core/firmware/HexReader.h"
#include "core/pages/PageHost.h"
#include "core/pages/address/AddressPage.h"

namespace hz {

inline constexpr const char* kUnsavedChangesQuestion = "Die Änderungen wurden nicht gespeichert. Trotzdem fortfahren?";

class Session {
    // Every message of the session passes here on its way to the prompter the session was made
    // with (declared first: the image and the address rows talk through it too).
    class MessageRelay : public Prompter {
    public:
        explicit MessageRelay(Prompter& to) : m_to(to) {}
        Answer ask(MsgKind kind, const std::string& text, Buttons buttons) override;
        std::function<bool(MsgKind, const std::string&)> listener;

    private:
        Prompter& m_to;
    };
    MessageRelay m_relay;

public:
    explicit Session(Prompter& prompter);

    Prompter& prompter() { return m_relay; }
    // Hears every message before it is shown: the carrying of settings reads what a page's
    // handler says about a value it was given. The listener returns whether the message is
    // shown; one it keeps back is answered with the button that changes nothing (Cancel, No,
    // Ignore or OK). An empty function ends the listening.
    using MessageListener = std::function<bool(MsgKind, const std::string&)>;
    void listenToMessages(MessageListener listener) { m_relay.listener = std::move(listener); }
    void setView(SessionView* view) { m_view = view ? view : &m_noView; }
    SessionView& view() { return *m_view; }

    // The load sequence: read, identify, ask about missing records, decode the address rows.
    // Returns Done when it went through; Stopped when a line failed or the user chose Cancel.
    LoadOutcome LoadFile(const std::string& fileName);
    // The same sequence on a stream already open (the tool's standard input); `name` stands
    // for the file in messages and in the status bar.
    LoadOutcome LoadStream(std::istream& in, const std::string& name);
    // The same sequence on lines already in memory.
    LoadOutcome LoadLines(const std::vector<std::string>& lines, const std::string& fileName);

    // The second identification pass after a start-up load: layout, page and header only.
    void RedoLayout();

    // First half of a save: pending working copies of the shown pages are offered for
    // acceptance ("Geänderte Werte übernehmen?"; No ends the save at once), then the address
    // rows are validated, encoded and written into the image (unless the firmware takes no
    // address input) and the HEX lines regenerated. False when the user said No, a row was
    // refused or the lines could not be built; the image's lines are then not usable.
    bool PrepareSave();
    // Second half: writes the lines PrepareSave built to `path`, atomically. Failures are
    // reported through the prompter.
    bool WriteBuiltLines(const std::string& path);
    // Both halves, for callers without a file dialog in between.
    bool SaveTo(const std::string& path) { return PrepareSave() && WriteBuiltLines(path); }

    // True while the image holds a file that was loaded all the way through. A load that
    // stops part-way (a refused line, Cancel at a question, a file with nothing in it) leaves
    // no file open: the previous file's rows, captions and page are gone and nothing can be
    // saved until a load goes through, so a save never mixes two files.
    bool SaveEnabled = false;
    // Shown instead of saving while no completely loaded file is open.
    static constexpr const char* kNoCompleteFile =
        "Es ist keine vollständig geladene Datei geöffnet, es wurde nichts gespeichert. Laden Sie eine "
        "HEX-Datei, deren Laden ohne Abbruch durchläuft, und speichern Sie dann.";

    // Loads for looking only (dump, compare): the editor pages are not set up, so the image
    // stays exactly as the file holds it.
    bool setUpPages = true;

    // The corrections of the last load that went through (core/LoadCorrections.h), program
    // memory first.
    std::vector<LoadCorrection> loadCorrections;
    // Program memory and EEPROM as the file held them, before any page was shown.
    const FirmwareImage::Memory& storedMemory() const { return m_stored; }

    // The state now is the saved one: the window marks it once the load's messages are shown.
    // A load and a save go through WriteBuiltLines mark it on their own.
    void markSaved() { history.markSaved(); }
    // Unsaved changes: not at the saved step, or a page's working copy not yet accepted.
    bool HasUnsavedChanges() const { return history.unsaved(); }
    // Asks "Die Änderungen wurden nicht gespeichert. Trotzdem fortfahren?" when there are
    // unsaved changes; true when there are none or the user chose Yes.
    bool ConfirmDiscardChanges();

    // The edit history's doors (core/EditHistory.h): the window keeps steps, the command-line
    // tool does not. The window calls noteEdit() after every forwarded user event.
    void keepHistory() { history.keepSteps(); }
    void noteEdit() { history.noteEdit(); }
    void editAsOneStep(const std::function<void()>& edit) { history.editAsOneStep(edit); }
    bool canUndo() const { return history.canUndo(); }
    bool canRedo() const { return history.canRedo(); }
    bool undo() { return history.undo(); }
    bool redo() { return history.redo(); }
    bool revertToFile() { return history.revertToFile(); }

    // The status bar's texts for what the session holds now (core/StatusTexts.h).
    StatusPanels statusTexts() const
    {
        return StatusTexts(image.facts, m_formatShown ? ident.formatText() : std::string(), m_statusFile,
                           m_typeShown ? std::optional<const DecoderType*>(ident.Type) : std::nullopt);
    }
    // After a save, or a save the user cancelled: the status bar names `name` (the file saved
    // to, or the one the save proposed) until the next load; with the PIC when `readFrom`, the
    // name being the file the firmware was read from.
    void nameInStatus(const std::string& name, bool readFrom = false) { m_statusFile = {name, readFrom}; }

    FirmwareImage image;
    AddressRowStore rows;
    IdentificationState ident;
    HexReader reader;
    Identification identification;
    // The address rows: a page every decoder type shows.
    pages::AddressPage addresses;
    // The editor page models and which of them are shown for the loaded file.
    pages::PageHost pages;
    // Undo, redo and the saved state (declared after what it keeps states of).
    EditHistory history;
    // The pages of the loaded file a user can work: the address rows, then the shown editor
    // pages. The window's frames and the tool's `--do` reach the controls through these.
    std::vector<pages::Page*> shownPages();

private:
    // What the identification and the reader ask for, shared out: the address page lays out
    // and shows its rows, showing a page kind sets up its page models before the window places
    // their frames, and the reader's reset hides them.
    class HostView : public IdentificationView {
    public:
        explicit HostView(Session& s) : m_s(s) {}
        void HidePages();
        void ResetLayout() override;
        void LayoutRows(int columnBreak, int gap) override { m_s.addresses.layOut(columnBreak, gap); }
        void ShowPage(int kind) override;
        void FitHeader(const std::string& name) override { m_s.view().FitHeader(name); }
        void ShowRows() override { m_s.addresses.showRows(); }
        void DocPageChanged(const std::string& url) override { m_s.view().DocPageChanged(url); }

    private:
        Session& m_s;
    };

    LoadOutcome afterReading(LoadOutcome read);
    LoadOutcome identifyAndDecode(LoadOutcome read);
    // After a load that stopped: nothing of any file is shown or savable.
    void showNoFile();
    // Tells that the load failed past the reading (an exception of a page's set-up, say) and
    // makes it a load that stopped.
    LoadOutcome loadFailed(const std::string& reason);

    FirmwareImage::Memory m_stored;
    // What the status bar shows besides the facts: the file it names, and whether the load
    // has come far enough to show the address format (a load that stops hides it again).
    StatusFile m_statusFile;
    bool m_formatShown = false;
    // The load has identified the file's decoder type (or found none): the status bar names it.
    bool m_typeShown = false;

    SessionView m_noView;
    SessionView* m_view = &m_noView;
    HostView m_hostView{*this};
};

} // namespace hz
