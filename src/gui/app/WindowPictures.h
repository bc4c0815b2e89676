#pragma once
// Pictures the window draws of itself, for the manual: the window, the window with one of its
// menus open, or the window that one of its menu entries opens. Drawn without a screen (the
// screenshot mode on the offscreen platform), so the build can make them every time and they
// always show the program as it is.

#include <QPixmap>
#include <QString>

#include <utility>

#include "gui/common/FileDialogs.h"

class QMainWindow;

namespace hz::gui {

// The file dialogs of a run nobody watches: every question for a file or a folder is answered
// with `answer`, a save is cancelled (a picture never writes a file).
class AnsweringFileDialogs : public FileDialogs {
public:
    explicit AnsweringFileDialogs(QString answer) : m_answer(std::move(answer)) {}
    QString openFile(QWidget*, const QString&, const QString&, const QString&) override { return m_answer; }
    QString saveFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString chooseFolder(QWidget*, const QString&) override { return m_answer; }

private:
    QString m_answer;
};

// What to draw, as "--draw" names it: NAME or NAME=ANSWER.
struct DrawRequest {
    QString name;   // an object name in the window; empty for the window itself
    QString answer; // what the file dialogs answer while the menu entry runs
};
DrawRequest ParseDrawRequest(const QString& text);

// Draws a part of `window`:
//  - empty name: the window;
//  - a menu's object name ("menu_file"): the window with that menu open below its title;
//  - a menu entry's object name ("act_compare"): the entry runs as if chosen, and the first
//    window it opens is drawn (when it has finished its work) and closed.
// An empty picture and `error` set (German) when there is no such part, the entry is not
// available, or it opened no window.
QPixmap DrawWindowPart(QMainWindow& window, const QString& name, QString& error);

} // namespace hz::gui
