#include "gui/tools/SettingsTools.h"

#include <QFileInfo>

#include "core/firmware/HexText.h"
#include "core/tools/SettingsDiff.h"
#include "core/tools/SettingsMigration.h"
#include "core/tools/SideSession.h"
#include "gui/common/QtText.h"
#include "gui/tools/SettingsDialogs.h"

namespace hz::gui {

namespace {

// The file the user chose, or an empty text after Cancel; the dialog starts in the folder of
// the loaded file, where the other versions of a firmware usually are.
QString askForFile(QWidget* window, const hz::Session& session, FileDialogs& dialogs)
{
    return dialogs.openFile(window, folderOf(fromPath(session.image.LastFileName)), QString::fromLatin1(kHexFileFilter),
                            QStringLiteral("hex"));
}

// A file's name as the messages and reports show it.
std::string fileName(const QString& path) { return hz::DisplayName(toStd(QFileInfo(path).fileName())); }

} // namespace

bool SettingsToolsAvailable(const hz::Session& session) { return session.SaveEnabled && session.ident.Type; }

void CompareWithFile(QWidget* window, hz::Session& session, FileDialogs& dialogs)
{
    if (!SettingsToolsAvailable(session))
        return;
    const QString chosen = askForFile(window, session, dialogs);
    if (chosen.isEmpty())
        return;
    hz::tools::SideSession other;
    if (!other.load(toPath(chosen))) {
        session.prompter().tell(hz::MsgKind::Error, other.failure(fileName(chosen)), hz::Buttons::Ok);
        return;
    }
    const hz::tools::SettingsComparison comparison = hz::tools::CompareSettings(
        session, fileName(fromPath(session.image.LastFileName)), other.session, fileName(chosen));
    if (!comparison.refusal.empty()) {
        session.prompter().tell(hz::MsgKind::Warning, comparison.refusal, hz::Buttons::Ok);
        return;
    }
    SettingsDiffDialog dialog(comparison, QFileInfo(chosen).fileName(), window);
    dialog.exec();
}

void TakeSettingsFromFile(QWidget* window, hz::Session& session, FileDialogs& dialogs,
                          const std::function<void(const hz::Session& from)>& apply)
{
    if (!SettingsToolsAvailable(session))
        return;
    const QString chosen = askForFile(window, session, dialogs);
    if (chosen.isEmpty())
        return;
    hz::tools::SideSession old;
    if (!old.load(toPath(chosen))) {
        session.prompter().tell(hz::MsgKind::Error, old.failure(fileName(chosen)), hz::Buttons::Ok);
        return;
    }
    const hz::tools::MigrationReport preview = hz::tools::PreviewMigration(old.session, session);
    if (!preview.refusal.empty()) {
        session.prompter().tell(hz::MsgKind::Warning,
                                "Aus \"" + fileName(chosen) +
                                    "\" (ALT) lässt sich nichts in die geladene Datei (NEU) "
                                    "übernehmen.\n\n" +
                                    preview.refusal,
                                hz::Buttons::Ok);
        return;
    }
    const QString summary = fromStd(hz::tools::MigrationPreviewText(old.session, fileName(chosen), session,
                                                                    fileName(fromPath(session.image.LastFileName))));
    SettingsMigrationDialog dialog(preview, summary, window);
    if (dialog.exec() == QDialog::Accepted)
        apply(old.session);
}

} // namespace hz::gui
