#pragma once
// The controls of an editor page as plain state.
//
// A page model in core owns one Control per control of its frame, with everything the frame
// shows: caption, hint, visibility, text, check state, track bar position, list items, and
// the geometry where the page lays it out itself. The Qt frame copies this state into its
// widgets; the command-line tool prints it and drives the same handlers. Controls made in
// arrays are named by array and index: "CvEdits[5]".
//
// A control also carries what the page does when the user works it, bound where the page
// makes the control: `add(c).on<&KornelPage::generateLinear>()`. The handler is a member
// function of the page; a group of like controls binds one handler that takes the control's
// index (or indices): `on<&RegisterPage::applyCvEdit>(row)`. The binding holds no pointer to the page, so
// a copied control or page never calls into a page it does not belong to.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/pages/common/Canvas.h"

namespace hz::pages {

class Page;

enum class MouseAction { Press, Move, Release };

enum class ControlKind { Label, Edit, Check, Radio, TrackBar, List, Button, Group, Image };

// "label", "edit", "check", "radio", "trackbar", "list", "button", "group", "image".
const char* controlKindName(ControlKind kind);

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

// What a button does besides its click: open a file dialog whose answer goes to the page.
enum class FileDialogKind { None, Open, Save };

// Whose value a control shows. Most controls show what the decoder keeps (in the image, or in
// a working copy the page writes into it). A page that shows one part of its working copy at a
// time has controls of two more kinds: those that choose the part (the curve or address
// buttons) and the grid drawn over a graph are the editor's own state, which no firmware file
// holds; those that show the value of the chosen part (its point count, its stretch) show
// what the decoder keeps once for every part, so a control alone does not say which part's.
enum class ValueOf { Decoder, ShownPart, Editor };

struct Control {
    std::string name;
    ControlKind kind = ControlKind::Label;
    std::string caption; // labels, check boxes, radio buttons, buttons, groups
    std::string hint;
    // What a report calls a control that shows no caption of its own and whose label does not
    // tell it from its neighbours (the four lists of one address row: "Servo", "Aktion");
    // empty: its caption, or the label beside it, says it.
    std::string title;
    bool visible = true;
    bool enabled = true;
    std::string text;                   // edits
    bool readOnly = false;              // edits that show a value the user cannot type (a computed time)
    bool checked = false;               // check boxes, radio buttons
    int position = 0, min = 0, max = 0; // track bars
    // Track bars: a tick every so many steps, and as far a click beside the handle moves it.
    int tickFrequency = 1;
    std::vector<std::string> items; // lists
    int selected = -1;
    std::optional<Rect> geometry;
    std::string parent; // name of the group the control sits in; empty: the frame itself
    FileDialogKind fileDialog = FileDialogKind::None;
    std::string fileFilter; // for buttons with a file dialog: "Kurve|*.cur", default suffix after it
    std::string fileSuffix;
    // Images: what the page drew, painted on white at the geometry's size. An image control
    // takes mouse presses, moves and releases in its own pixels (Page::userMouse).
    Drawing drawing;
    // Edits the page colours (the red and green address fields); none: the frame's own.
    std::optional<Colour> background;
    // Controls that stand side by side and should look alike (the lists of the address rows)
    // name the same group: a frame that has to give a caption a smaller font to fit gives it to
    // the whole group. Empty: the control's font is its own.
    std::string fontGroup;
    // The page whose working copy holds the control's value ("FrameKornel1": the curve page's
    // table, which the servo address page's lists show too); empty when the value is the
    // control's own or is written into the image at once. Such a control is a view of that
    // copy: where the copy is not carried into another file, the control is not either.
    std::string inCopyOf;
    // Whose value the control shows; a record of the decoder (the settings sheet) prints only
    // the decoder's, and a page that shows one part at a time gives every part on its own.
    ValueOf valueOf = ValueOf::Decoder;

    // The page's handlers. `on` binds the one for the control's own event: a click, a tick,
    // text typed into an edit, a moved track bar or a new selection in a list; the control
    // already shows the new state when it runs. `onMouse` binds an image's presses, moves and
    // releases, `onFile` the answer of a button's file dialog.
    template <auto Handler, class... Index> Control& on(Index... index);
    template <auto Handler> Control& onMouse();
    template <auto Handler> Control& onMouse(int index);
    template <auto Handler> Control& onFile();
    std::function<void(Page&)> handler;
    std::function<void(Page&, MouseAction, int, int)> mouseHandler;
    std::function<void(Page&, const std::string&)> fileHandler;

    // Changed when anything above changes, from the page's running count: a frame refreshes
    // the controls whose stamp is newer than the last one it has seen.
    unsigned stamp = 0;
};

namespace detail {
// The page class a handler belongs to.
template <class> struct HandlerOwner;
template <class P, class... Args> struct HandlerOwner<void (P::*)(Args...)> {
    using type = P;
};
template <auto Handler> using OwnerOf = typename HandlerOwner<decltype(Handler)>::type;
} // namespace detail

template <auto Handler, class... Index> Control& Control::on(Index... index)
{
    handler = [index...](Page& page) { (static_cast<detail::OwnerOf<Handler>&>(page).*Handler)(index...); };
    return *this;
}

template <auto Handler> Control& Control::onMouse()
{
    mouseHandler = [](Page& page, MouseAction action, int x, int y) {
        (static_cast<detail::OwnerOf<Handler>&>(page).*Handler)(action, x, y);
    };
    return *this;
}

template <auto Handler> Control& Control::onMouse(int index)
{
    mouseHandler = [index](Page& page, MouseAction action, int x, int y) {
        (static_cast<detail::OwnerOf<Handler>&>(page).*Handler)(index, action, x, y);
    };
    return *this;
}

template <auto Handler> Control& Control::onFile()
{
    fileHandler = [](Page& page, const std::string& path) {
        (static_cast<detail::OwnerOf<Handler>&>(page).*Handler)(path);
    };
    return *this;
}

} // namespace hz::pages
