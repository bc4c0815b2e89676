#pragma once
// The open and save dialogs of the main window, behind an interface so that the window can be
// driven without real dialogs (tests, scripted runs).

#include <QString>

class QWidget;

namespace hz::gui {

// The filter of both dialogs: HEX files first, then text files, then everything.
inline constexpr const char* kHexFileFilter = "HEX (*.hex);;TXT (*.txt);;*.* (*)";

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The file the user chose, or an empty text when the dialog was cancelled. `proposed` is
    // the full path the dialog starts with (may be empty).
    virtual QString openHexFile(QWidget* parent, const QString& proposed) = 0;
    // Asks before overwriting an existing file; appends ".hex" to a name without suffix.
    virtual QString saveHexFile(QWidget* parent, const QString& proposed) = 0;
};

// QFileDialog with the filter above, the proposed file preselected in its folder, the default
// suffix "hex" and the overwrite question.
class QtFileDialogs : public FileDialogs {
public:
    QString openHexFile(QWidget* parent, const QString& proposed) override;
    QString saveHexFile(QWidget* parent, const QString& proposed) override;
};

} // namespace hz::gui
