#include "gui/tools/SettingsTools.h"

#include <QFileInfo>

#include "gui/common/QtText.h"
#include "gui/tools/SettingsDialogs.h"

namespace hz::gui {

namespace {

// The file the user chose, or an empty text after Cancel; the dialog starts in the folder of
// the loaded file, where the other versions of a firmware usually are.
QString askForFile(QWidget* window, const hz::Editor& editor, FileDialogs& dialogs)
{
    return dialogs.openFile(window, folderOf(fromPath(editor.session().image.LastFileName)),
                            QString::fromLatin1(kHexFileFilter), QStringLiteral("hex"));
}

} // namespace

void CompareWithFile(QWidget* window, hz::Editor& editor, FileDialogs& dialogs)
{
    if (!editor.settingsToolsAvailable())
        return;
    const QString chosen = askForFile(window, editor, dialogs);
    if (chosen.isEmpty())
        return;
    if (const auto comparison = editor.compareWith(toPath(chosen))) {
        SettingsDiffDialog dialog(*comparison, QFileInfo(chosen).fileName(), window);
        dialog.exec();
    }
}

void TakeSettingsFromFile(QWidget* window, hz::Editor& editor, FileDialogs& dialogs)
{
    if (!editor.settingsToolsAvailable())
        return;
    const QString chosen = askForFile(window, editor, dialogs);
    if (chosen.isEmpty())
        return;
    editor.carrySettingsFrom(toPath(chosen),
                             [window](const tools::MigrationReport& preview, const std::string& summary) {
                                 SettingsMigrationDialog dialog(preview, fromStd(summary), window);
                                 return dialog.exec() == QDialog::Accepted;
                             });
}

} // namespace hz::gui
