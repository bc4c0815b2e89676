#pragma once
// The open and save dialogs of the window and its pages, behind an interface so that the
// window can be driven without real dialogs (tests, scripted runs). One call for each: the
// caller gives the filter and the default suffix (HEX files, servo curves, set-ups, a second
// HEX file to compare with).

#include <QString>

class QWidget;

namespace hz::gui {

// Filters are written as the firmware editor has always written them: pairs of description
// and patterns separated by "|" ("HEX|*.hex|TXT|*.txt|*.*|*.*").
inline constexpr const char* kHexFileFilter = "HEX|*.hex|TXT|*.txt|*.*|*.*";

// "HEX|*.hex|TXT|*.txt" as Qt's name filters: "HEX (*.hex)", "TXT (*.txt)".
QStringList qtNameFilters(const QString& filter);

// The folder of `file` as a dialog's proposal ("/a/b/"): the dialog opens there with no file
// chosen. Empty for no file.
QString folderOf(const QString& file);

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The file the user chose, or an empty text when the dialog was cancelled. `proposed` is
    // the full path the dialog starts with (may be empty).
    virtual QString openFile(QWidget* parent, const QString& proposed, const QString& filter,
                             const QString& defaultSuffix) = 0;
    // Asks before overwriting an existing file; appends the default suffix to a name without.
    virtual QString saveFile(QWidget* parent, const QString& proposed, const QString& filter,
                             const QString& defaultSuffix) = 0;
    // A folder the user chose (starting at `proposed`), or an empty text when cancelled.
    virtual QString chooseFolder(QWidget* parent, const QString& proposed);
};

// QFileDialog with the given filter, the proposed file preselected in its folder, the default
// suffix and the overwrite question.
class QtFileDialogs : public FileDialogs {
public:
    QString openFile(QWidget* parent, const QString& proposed, const QString& filter,
                     const QString& defaultSuffix) override;
    QString saveFile(QWidget* parent, const QString& proposed, const QString& filter,
                     const QString& defaultSuffix) override;
};

} // namespace hz::gui
