#pragma once
// The Qt side of an editor page: a frame that mirrors a core page model.
//
// The frame makes one widget per control of the model, named as the control ("CvEdits[5]"),
// copies the model's state into the widgets while its own `Updating` holds, forwards every
// widget event to the model's user-event entry points and refreshes from the model again. It
// holds no page logic. A control's widget is made when the control is first visible, so a
// page with room for hundreds of rows costs only the rows it shows.

#include <QFont>
#include <QFrame>

#include <optional>

#include <unordered_map>
#include <vector>

#include "core/pages/Page.h"

namespace hz::gui {
class FileDialogs;
}

class PageFrame : public QFrame {
    Q_OBJECT
public:
    PageFrame(hz::pages::Page& page, QWidget* parent);

    hz::pages::Page& model() { return m_page; }
    const hz::pages::Page& model() const { return m_page; }

    // Copies what changed in the model since the last refresh into the widgets.
    void refresh();
    // The widget of a control (made on the first request), or nullptr for an unknown name.
    QWidget* widget(const std::string& name);

    // While set, widget changes are the frame's own writes, not user input.
    bool Updating = false;

    // The dialogs a button with a file dialog opens (the window's); without them such a
    // button does nothing.
    void setFileDialogs(hz::gui::FileDialogs* dialogs) { m_dialogs = dialogs; }

    // A font for every control of the frame; a caption that would be cut where the page
    // places it gets a smaller font instead (FitText.h). Without it the widgets keep the
    // window's font.
    void setPageFont(const QFont& font) { m_pageFont = font; }

    // Where the widgets of the controls outside any group live: the frame itself, or - for a
    // page whose controls stand among the window's own, like the address rows in the address
    // group box - that widget. Set before the first widget is made.
    void setHome(QWidget* home) { m_home = home; }
    QWidget* home() { return m_home ? m_home : this; }

signals:
    // A user event reached the model and this frame shows its result. A page may change what
    // another page shows (the servo address page enables the curve page's "übernehmen", the
    // curve page's "verwerfen" refills the address page), so the host refreshes the others.
    void modelEvent();

protected:
    // A hook for frames that style their widgets (fonts); called once per widget after it is
    // made and each time its control changed. The default applies the page font, if any.
    virtual void styleWidget(const hz::pages::Control& c, QWidget* w);
    // Gives the widget `font`, or where the control's text would be cut at the width the page
    // gives it, a smaller font that fits (FitText.h). A control of a font group gets the one
    // font in which the texts of all the group's controls fit.
    void setFittingFont(const hz::pages::Control& c, QWidget* w, const QFont& font);
    // Called at the start of every refresh, before any widget is touched.
    virtual void beforeRefresh() {}
    // The widget of a control if it has been made, else nullptr (nothing is made here).
    QWidget* madeWidget(const std::string& name) const
    {
        const auto it = m_widgets.find(name);
        return it == m_widgets.end() ? nullptr : it->second;
    }

private:
    QWidget* make(const hz::pages::Control& c);
    void apply(const hz::pages::Control& c, QWidget* w);
    void connectEvents(const hz::pages::Control& c, QWidget* w);
    QWidget* parentFor(const hz::pages::Control& c);
    // The pixels the text of a control may take at the width the page gives it (a list: its
    // widest item beside the arrow); 0 for a control without a geometry.
    int textRoom(const hz::pages::Control& c) const;
    QFont groupFont(const std::string& group, const QFont& font);

    hz::pages::Page& m_page;
    hz::gui::FileDialogs* m_dialogs = nullptr;
    QWidget* m_home = nullptr;
    std::optional<QFont> m_pageFont;
    std::unordered_map<std::string, QWidget*> m_widgets;
    // A font group's font, with the texts and rooms it was chosen for.
    struct GroupFont {
        QString texts;
        QFont font;
    };
    std::unordered_map<std::string, GroupFont> m_groupFonts;
    unsigned m_seen = 0;
};
