#pragma once
// What a user has set on a page, read off the page model's controls alone: which controls
// hold a setting, the setting as text, and what the page calls the control. The comparison
// and the carrying of settings into another firmware work on these, so every page that
// exposes its controls takes part without code of its own.

#include <string>

#include "core/pages/Page.h"

namespace hz::tools {

// Edits, check boxes, radio buttons, track bars and lists hold a setting; labels, buttons,
// groups and images do not (a page's drawing shows its working copy, compared on its own),
// nor does the spinner beside an edit, which repeats the edit's number.
bool HoldsSetting(const pages::Control& c);
// A track bar narrower than high: the spinner beside an edit.
bool IsSpinner(const pages::Control& c);

// The setting as text: an edit's text, "1"/"0" for a check box or radio button, a track
// bar's position, a list's selected item ("" when none is selected).
std::string SettingText(const pages::Control& c);

// What the page calls a control: its own caption, otherwise the caption of the label that
// stands on its line directly left of it in the same group (the name a user reads beside an
// edit field), otherwise its hint's first line; "" when there is none. Two files' controls of
// one name mean the same where this is the same.
std::string ControlCaption(const pages::Page& page, const pages::Control& c);

// The name every report gives a setting, as the user finds it on the page: the caption of the
// group it sits in, the caption on its line left of it, and its own caption or title, each
// without the colon the page puts after it - "Servo 1: keine Wiederholung", "Adresse 01:
// Kurve", "CV029: Konfigbyte", "Parameter für: Kurve 2". Never its hint, which explains and
// does not name; the control's name where the page shows no word for it at all.
std::string SettingName(const pages::Page& page, const pages::Control& c);

// A setting's value as the reader reads it: "ja"/"nein" for a check box or radio button, the
// text otherwise (SettingText, as kept in the reports' "1"/"0").
std::string ReadableValue(pages::ControlKind kind, const std::string& text);

// Whether a user can reach the control: it and every group it sits in are visible.
bool ControlShown(const pages::Page& page, const pages::Control& c);

// What a report calls a page, by its frame's object name ("FrameZusatz1": "Zusatzfunktionen",
// "AddressRows": "Adresszeilen"); a name it does not know as it is. The comparison, the
// carrying of settings and the settings sheet head their pages with it.
std::string PageTitle(const std::string& objectName);

} // namespace hz::tools
