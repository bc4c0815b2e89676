#pragma once
// One editor page as the page host and every front end see it.
//
// The model holds the page's controls (PageControl.h), each with the handler bound where the
// control is made, and its working copy where it has one. A page is shown with a PageContext:
// the firmware image it reads and writes, the prompter it speaks through and what the
// identification found; it sees nothing else of the session. The Qt frame forwards each
// widget event through the user-event entry points below and refreshes its widgets from the
// controls; the command-line tool does the same with `--do` actions. So the window, the tool
// and the tests drive one and the same code.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/pages/PageControl.h"

namespace hz {
class FirmwareImage;
class Prompter;
} // namespace hz

namespace hz::pages {

// What a page works on while it is shown: the loaded file's image, the prompter for its
// messages and the decoder type the identification found. The host builds it from the
// session each time it shows the page.
struct PageContext {
    FirmwareImage& image;
    Prompter& prompter;
    int identifier = 0;
};

// The window's address area (its group box): the pages stand beside it or over it.
struct AddressArea {
    int left = 5, top = 5, width = 400;
};

// How the window arranges itself around a shown page: its lower groups start at `left` (the
// link picture) and `right` (the buttons), below a page `height` high and `width` wide.
struct WindowArrangement {
    int left = 0, right = 0, height = 0, width = 0;
    bool operator==(const WindowArrangement&) const = default;
};

// Where a page's frame stands in the window, and - for the page that decides it - how the
// window is arranged around it.
struct PagePlace {
    Rect frame;
    std::optional<WindowArrangement> window;
};

// A picture of a page's working copy as a printed settings sheet shows it: what the page's
// image control would show for one part of the copy, drawn by the same code.
struct PagePicture {
    std::string caption; // "Kurve 2: 40 Punkte, Stretch-Faktor 3"
    int width = 0, height = 0;
    Drawing drawing;
};

// A named stretch of a page's working copy: entries first .. first + count - 1.
struct DataPart {
    std::string name; // "Kurve 2 Punkte": what a report calls it
    int first = 0;
    int count = 0;
};

class Page {
public:
    virtual ~Page() = default;

    // Name of the frame in reports ("TFrameRegister") and the host's name for it ("FrameRegister1").
    virtual const char* frameName() const = 0;
    virtual const char* objectName() const = 0;

    // The host shows the page for the loaded file: the page's set-up operations run and read
    // the image.
    virtual void showFor(const PageContext& context) = 0;
    // Changes of a working copy not yet written into the image (the accept button is enabled).
    virtual bool hasPending() const { return false; }
    // Writes the working copy into the image, as the accept button does.
    virtual void accept() {}
    // What accept() writes, written into `image` instead of the shown one: lets the load tell
    // the user what a working copy held pending right after set-up would change in the file.
    virtual void writeCopy(FirmwareImage& image) const { (void)image; }
    // What an image byte that the working copy writes stands for ("Kurve 1 Anzahl Punkte");
    // empty when the page cannot say.
    virtual std::string describeByte(bool eeprom, int index) const
    {
        (void)eeprom;
        (void)index;
        return {};
    }
    // A byte the page's set-up changed in the image on its own, with the reason it tells the
    // user ("unbekannter Überblend-Code"). The host empties the list before each set-up; the
    // load reports every byte that changed, with the reason where the page gave one.
    struct Correction {
        bool eeprom = true;
        int index = 0;
        std::string reason;
    };
    std::vector<Correction> corrections;
    // The whole working copy, for pages that keep one; empty otherwise.
    virtual std::vector<int> data() const { return {}; }
    // A whole working copy as data() gives it, taken over as if the user had built it on the
    // page: the page shows it and holds it pending until accept(). False (nothing changed)
    // when the page keeps no working copy or cannot take this one. Used to carry settings
    // from one firmware file into another of the same page layout.
    virtual bool setData(const std::vector<int>& data)
    {
        (void)data;
        return false;
    }
    // What setData takes of a working copy of `size` table bytes: that many entries, each a
    // byte 0..255.
    static bool IsByteTable(const std::vector<int>& data, std::size_t size);
    // The working copy's parts (a curve's points, its count, its flags), so that a comparison
    // can say which part differs; none: the copy is compared entry by entry.
    virtual std::vector<DataPart> dataParts() const { return {}; }
    // What a report calls the working copy as a whole, in the user's words ("Kurventabelle
    // (alle vier Kurven)").
    virtual std::string dataName() const { return "Tabelle der Seite"; }
    // The geometry of control `name`; empty when it has none.
    Rect rectOf(const std::string& name) const;
    // The part of the working copy that entry `entry` belongs to, as a report names it
    // ("Kurve 1 Punkte[7]", "Kurve 1 Anzahl Punkte"); empty when no part holds it.
    std::string partOfEntry(int entry) const;
    // What the working copy's entries mean, where one page serves decoder types that read the
    // same entries differently; a copy is carried only between pages of the same layout.
    virtual std::string dataLayout() const { return {}; }
    // For a page whose image shows one part of its working copy at a time (the selected servo
    // curve): a picture of every part, for the settings sheet. Empty: the sheet shows the
    // page's images as they stand.
    virtual std::vector<PagePicture> sheetPictures() const { return {}; }

    // Whether only a load hides the page's frame: showing another page leaves it as it is.
    virtual bool hiddenOnlyByLoad() const { return false; }
    // Where the frame stands beside or over the window's address area, measured on the page's
    // own controls (a page grows with what it shows), and how the window is arranged around it.
    virtual PagePlace placeIn(const AddressArea& area) const
    {
        (void)area;
        return {};
    }

    // Width in pixels of a text in the page's font, for pages whose labels size themselves to
    // their text and lay out what follows after the widest caption. The window sets the
    // screen font's measure; without a window an estimate of an 8-point sans-serif font serves.
    std::function<int(const std::string&)> TextWidth;
    int textWidth(const std::string& text) const { return TextWidth ? TextWidth(text) : EstimateTextWidth(text); }
    static int EstimateTextWidth(const std::string& text);

    // While set, changes of the controls are the page's own writes, not user input.
    bool Updating = false;

    virtual const std::vector<Control>& controls() const { return m_controls; }
    const Control* find(const std::string& name) const;
    // The count behind the controls' stamps.
    unsigned stamp() const { return m_stamp; }
    // A control that asked for the input focus (after a refused input); the frame takes it
    // and clears it.
    std::string focusRequest;

    // User events, in the order a widget reports them: the control's state changes, then its
    // bound handler runs. Unknown names are ignored here; the action layer refuses them first.
    void userText(const std::string& name, const std::string& text);
    void userClick(const std::string& name);
    void userChecked(const std::string& name, bool checked);
    void userPosition(const std::string& name, int position);
    void userSelect(const std::string& name, int index);
    void userMouse(const std::string& name, MouseAction action, int x, int y);
    void userFile(const std::string& name, const std::string& path);
    // The user leaves an edit (it loses the input focus, or Enter is pressed): where the page
    // stored another number than the one typed (a count typed as 150 is kept as 100), the edit
    // shows the stored one from now on, as if the page had written it. True when the text
    // changed. While the edit has the focus it keeps what was typed.
    bool userLeave(const std::string& name);
    // What an edit shows once it is left: the value the page stored from its text, where the
    // page limits what it stores; none where the edit's text is what the page keeps, or where
    // the text is no number the page took (a refused input stays as typed, for the user to
    // mend). The settings sheet prints it, the command-line tool tells it.
    virtual std::optional<std::string> storedText(const Control& edit) const
    {
        (void)edit;
        return std::nullopt;
    }
    // What the edit history reads of the user events: how many there were, the text field the
    // last one typed into (empty when it was no typing), and whether a mouse button pressed on
    // one of the page's images is still held (a drawing stroke is going on).
    unsigned userEvents() const { return m_userEvents; }
    const std::string& lastTyped() const { return m_lastTyped; }
    // The text the last user event typed into that field, before any handler changed it.
    const std::string& lastTypedText() const { return m_lastTypedText; }
    bool mouseHeld() const { return m_mouseHeld; }

protected:
    Control& add(Control c);
    // Runs the handler bound to the control's own event, if any: the page's own write into an
    // edit runs its change handler as a user's typing does.
    void handle(Control& c)
    {
        if (c.handler)
            c.handler(*this);
    }
    Control* findMutable(const std::string& name);
    // Marks a control as changed; every page setter goes through here.
    Control& touch(Control& c)
    {
        c.stamp = ++m_stamp;
        return c;
    }
    void setText(Control& c, const std::string& text);
    void setCaption(Control& c, const std::string& caption);
    void setVisible(Control& c, bool visible);
    void setEnabled(Control& c, bool enabled);
    void setChecked(Control& c, bool checked);
    void setHint(Control& c, const std::string& hint);
    void setGeometry(Control& c, const Rect& r);
    void setDrawing(Control& c, Drawing drawing);
    void setBackground(Control& c, const Colour& colour);
    // Puts the stored value into an edit the user has left (userLeave); the default writes the
    // text and runs the edit's handler, as the page's own write into an edit does. A page whose
    // handlers tell its own writes from typing overrides it.
    virtual void showStored(Control& edit, const std::string& text)
    {
        setText(edit, text);
        handle(edit);
    }
    // A track bar that types into an edit follows the edit: it shows the edit's whole number,
    // limited to its range; a text that is no whole number leaves it where it is.
    void followEdit(Control& trackBar, const std::string& text);

    std::vector<Control> m_controls;
    // What the page was last shown with; none before it was first shown. Handlers that reach
    // the image or the prompter do nothing without it.
    std::optional<PageContext> m_context;

private:
    void noteUserEvent(const std::string& typed = {}, const std::string& text = {})
    {
        ++m_userEvents;
        m_lastTyped = typed;
        m_lastTypedText = text;
    }
    unsigned m_userEvents = 0;
    std::string m_lastTyped, m_lastTypedText;
    bool m_mouseHeld = false;

private:
    // Sets one field of a control and stamps the control, only when the value is new.
    template <typename T> void change(Control& c, T& field, const T& value)
    {
        if (field != value) {
            field = value;
            touch(c);
        }
    }

    unsigned m_stamp = 0;
};

} // namespace hz::pages
