#pragma once
// The documentation and web addresses the window opens: the web button, the link picture and
// "Hilfe ▸ Handbuch".

#include <QString>

#include <functional>

#include "core/catalogue/DocLinks.h"

namespace hz {
class Prompter;
}

namespace hz::gui {

// Where the documentation links lead: the documentation site `docBase` of the settings, else the
// manual in the program's data folder (`dataFolder`, or the one found beside the program, or
// where the installed program keeps it).
DocSite ProgramDocSite(const QString& docBase, QString dataFolder);

// Opens `address` with `open` (QDesktopServices where it is empty). An address with a scheme
// is opened as it is; anything else is a page of the installed manual. A local page that is
// missing, or an address that nothing could open, is reported through `prompter` naming the
// address; `installedManual` says that the page belongs to the manual installed with the program
// (not to a folder the user named), and the message then says where the manual belongs.
void OpenAddress(const QString& address, bool installedManual, const std::function<bool(const QString&)>& open,
                 Prompter& prompter);

} // namespace hz::gui
