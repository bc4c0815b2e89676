#pragma once
// The window's side of the session's edit history: after every user event a frame forwards
// (the page frames and the address rows), the session notes a step; undo, redo and "Auf
// Dateistand zurücksetzen" go to the session and then let every frame and the status bar
// show the state it holds. The main window takes these commands as its own.

#include <functional>

namespace hz {
class Session;
}
class AddressRowsFrame;
class PageHostView;

class EditHistoryCommands {
public:
    void undo();
    void redo();
    void revertToFile();
    bool canUndo() const;
    bool canRedo() const;

protected:
    // Ties the commands to the window's session and frames; `refreshView` lets the status bar
    // and the rows show what the session holds.
    void attachHistory(hz::Session& session, PageHostView& pages, AddressRowsFrame& rows,
                       std::function<void()> refreshView);

private:
    void showState();

    hz::Session* m_session = nullptr;
    PageHostView* m_pages = nullptr;
    std::function<void()> m_refreshView;
};
