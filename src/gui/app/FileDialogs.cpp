#include "app/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>

namespace hz::gui {

namespace {

QString runDialog(QWidget* parent, const QString& proposed, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(QString::fromLatin1(kHexFileFilter).split(QStringLiteral(";;")));
    dialog.setDefaultSuffix(QStringLiteral("hex"));
    // The save dialog asks before it overwrites; QFileDialog does that unless told otherwise.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!proposed.isEmpty()) {
        const QFileInfo info(proposed);
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

} // namespace

QString QtFileDialogs::openHexFile(QWidget* parent, const QString& proposed)
{
    return runDialog(parent, proposed, QFileDialog::AcceptOpen);
}

QString QtFileDialogs::saveHexFile(QWidget* parent, const QString& proposed)
{
    return runDialog(parent, proposed, QFileDialog::AcceptSave);
}

} // namespace hz::gui
