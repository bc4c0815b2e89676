#pragma once
// The edit history of one loaded file: undo and redo over whole states of what the user edits,
// and the saved state that tells unsaved changes. A step holds everything a user event can
// change - image memory, ID and config, the address rows' texts and R/G states, and each shown
// page's working copy with its pending flag - so undoing never needs to know which control did
// what, and the one comparison that tells a new step tells unsaved changes too.
//
// Steps are kept once keepSteps() was called: the window keeps them; the command-line tool,
// which loads, changes and writes once, does not, and then the history holds only the saved
// state. Keystrokes in one text field merge into one step, and nothing is recorded while a
// mouse button is held on a page (a drawing stroke is one step at its release). A load starts
// a new history; a save keeps it and marks the saved step. The oldest steps give way beyond
// 1000.

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/firmware/FirmwareImage.h"
#include "core/pages/address/AddressPage.h"

namespace hz {

namespace pages {
class Page;
class PageHost;
} // namespace pages

class EditHistory {
public:
    // `showAgain` re-runs the set-up of the shown pages after a step was put back.
    EditHistory(FirmwareImage& image, pages::AddressPage& rows, pages::PageHost& pages,
                std::function<void()> showAgain);

    // From now on steps are recorded; the history starts afresh with the state now.
    void keepSteps();
    // A fresh history whose only step is the state now, which is also the saved one (a load).
    void startAfresh();
    // The state now is the saved one (a save); the steps stay.
    void markSaved();
    // Unsaved: the state now is not the saved step's, or a page holds a working copy not yet
    // accepted. A change typed and typed back is no change.
    bool unsaved() const;

    // Records the state as a step when it differs from the current one; called after every
    // forwarded user event.
    void noteEdit() { noteStep(true); }
    // One edit that is not the user's typing (settings carried over from another file) as a
    // step of its own: what was typed before it is closed as its own step first, `edit` runs,
    // and its result is one step that neither earlier nor later keystrokes merge into, also
    // when it changed the very field typed into last.
    void editAsOneStep(const std::function<void()>& edit);
    // The current step takes the state now, without a step of its own (the save's writing of
    // the rows' codes, which changes nothing a user sees).
    void amendStep();

    bool canUndo() const { return m_at > 0; }
    bool canRedo() const { return m_at + 1 < m_steps.size(); }
    // Both return whether they changed anything; the shown pages re-run their set-up.
    bool undo();
    bool redo();
    // Back to the saved state, as one more step that undo takes back. False when that is the
    // state already.
    bool revertToFile();

    static constexpr std::size_t kMaxSteps = 1000;

    // The editable state now with the whole history around it, to be put back exactly: an
    // operation that was tried and is to be tried again from where it started.
    struct Snapshot;
    Snapshot capture() const;
    // Puts back what capture() took. The shown pages re-run their set-up only when the
    // editable state differs from the captured one.
    void restore(const Snapshot& snapshot);

private:
    struct State {
        FirmwareImage::Memory memory;
        std::string id;
        std::array<std::string, 4> config;
        std::array<bool, 4> configPresent{};
        std::array<std::string, pages::AddressPage::kRows> address, function;
        std::array<int, pages::AddressPage::kRows> rowState{};
        bool operator==(const State&) const = default;
    };
    struct Step {
        State state;
        std::vector<std::vector<int>> copies; // data() of each shown page, pending ones only
        std::vector<bool> pending;
        bool operator==(const Step&) const = default;
    };
    State currentState() const;
    Step currentStep() const;
    void applyStep(const Step& step);
    // The field typed into since the last noteEdit ("page/control"); empty for other events.
    std::string lastTypedField();
    // noteEdit, where `mayMerge` false makes the state a new step whatever was typed.
    void noteStep(bool mayMerge);
    // After a step was put back: what happened before it belongs to no step.
    void forgetTyping();

    FirmwareImage& m_image;
    pages::AddressPage& m_rows;
    pages::PageHost& m_pages;
    std::function<void()> m_showAgain;

    bool m_keepsSteps = false;
    std::vector<Step> m_steps;
    std::size_t m_at = 0;
    // The saved state; without kept steps only its state part is filled.
    Step m_saved;
    static constexpr std::size_t kNoStep = static_cast<std::size_t>(-1);
    std::size_t m_savedAt = 0; // index of the saved step in m_steps; kNoStep when it fell away
    std::string m_typedAt;     // the field whose keystrokes made the current step
    std::vector<std::pair<const pages::Page*, unsigned>> m_seenEvents;

public:
    struct Snapshot {
        Step now;
        std::vector<Step> steps;
        std::size_t at = 0;
        Step saved;
        std::size_t savedAt = 0;
        std::string typedAt;
        std::vector<std::pair<const pages::Page*, unsigned>> seenEvents;
        std::vector<std::pair<const pages::Page*, unsigned>> eventsThen; // each page's count at capture
    };

private:
    // Every page's count of user events now, the address rows first.
    std::vector<std::pair<const pages::Page*, unsigned>> eventCounts() const;
};

} // namespace hz
