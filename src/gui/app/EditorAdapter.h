#pragma once
// The window's side of the editor core (core/editor/Editor.h): what an operation changed
// arrives as the signal changed(), and the window, its frames, rows, status bar and menu
// redraw those parts from the session. Every user event a frame forwards reaches the editor
// as an edit, so the history notes a step there and nowhere else.

#include <QObject>

#include <vector>

#include "core/editor/Editor.h"

class PageFrame;

class EditorAdapter : public QObject {
    Q_OBJECT

public:
    EditorAdapter(hz::Editor& editor, QObject* parent);

    hz::Editor& editor() const { return m_editor; }
    // The frames whose user events are edits of the loaded file: the page frames and the rows.
    void watchEdits(const std::vector<PageFrame*>& frames, PageFrame& rows);

signals:
    void changed(hz::Changes changes);

private:
    hz::Editor& m_editor;
};
