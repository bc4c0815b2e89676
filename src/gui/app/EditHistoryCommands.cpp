#include "gui/app/EditHistoryCommands.h"

#include "core/Session.h"
#include "gui/app/PageHostView.h"
#include "gui/pages/AddressRowsFrame.h"

void EditHistoryCommands::attachHistory(hz::Session& session, PageHostView& pages, AddressRowsFrame& rows,
                                        std::function<void()> refreshView)
{
    m_session = &session;
    m_pages = &pages;
    m_refreshView = std::move(refreshView);
    session.keepHistory();
    // One place records the steps: whatever a frame forwarded has reached the model by now.
    auto note = [this] { m_session->noteEdit(); };
    QObject::connect(&rows, &PageFrame::modelEvent, &rows, note);
    for (PageFrame* f : pages.frames())
        QObject::connect(f, &PageFrame::modelEvent, f, note);
}

void EditHistoryCommands::showState()
{
    m_pages->Refresh();
    m_refreshView();
}

void EditHistoryCommands::undo()
{
    if (m_session && m_session->undo())
        showState();
}

void EditHistoryCommands::redo()
{
    if (m_session && m_session->redo())
        showState();
}

void EditHistoryCommands::revertToFile()
{
    if (m_session && m_session->revertToFile())
        showState();
}

bool EditHistoryCommands::canUndo() const { return m_session && m_session->canUndo(); }

bool EditHistoryCommands::canRedo() const { return m_session && m_session->canRedo(); }
