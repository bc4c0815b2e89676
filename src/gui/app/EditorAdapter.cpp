#include "gui/app/EditorAdapter.h"

#include "gui/pages/PageFrame.h"

EditorAdapter::EditorAdapter(hz::Editor& editor, QObject* parent) : QObject(parent), m_editor(editor)
{
    m_editor.session().keepHistory(); // the window's edits are undo steps
    m_editor.onChange([this](hz::Changes changes) { emit changed(changes); });
}

void EditorAdapter::watchEdits(const std::vector<PageFrame*>& frames, PageFrame& rows)
{
    // Whatever a frame forwarded has reached the model by now.
    auto edited = [this] { m_editor.edited(); };
    connect(&rows, &PageFrame::modelEvent, this, edited);
    for (PageFrame* f : frames)
        connect(f, &PageFrame::modelEvent, this, edited);
}
