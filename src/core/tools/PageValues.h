#pragma once
// What a user has set on a page, read off the page model's controls alone: which controls
// hold a setting, the setting as text, and what the page calls the control. The comparison
// and the carrying of settings into another firmware work on these, so every page that
// exposes its controls takes part without code of its own.

#include <string>

#include "core/pages/Page.h"

namespace hz::tools {

// Edits, check boxes, radio buttons, track bars and lists hold a setting; labels, buttons,
// groups and images do not (a page's drawing shows its working copy, compared on its own).
bool HoldsSetting(const pages::Control& c);

// The setting as text: an edit's text, "1"/"0" for a check box or radio button, a track
// bar's position, a list's selected item ("" when none is selected).
std::string SettingText(const pages::Control& c);

// What the page calls a control: its own caption, otherwise the caption of the label that
// stands on its line directly left of it in the same group (the name a user reads beside an
// edit field), otherwise its hint's first line; "" when there is none.
std::string ControlCaption(const pages::Page& page, const pages::Control& c);

// Whether a user can reach the control: it and every group it sits in are visible.
bool ControlShown(const pages::Page& page, const pages::Control& c);

// What a report calls a page, by its frame's object name ("FrameZusatz1": "Zusatzfunktionen",
// "AddressRows": "Adresszeilen"); a name it does not know as it is.
std::string PageTitle(const std::string& objectName);

} // namespace hz::tools
