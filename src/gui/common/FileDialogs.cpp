#include "gui/common/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace hz::gui {

QStringList qtNameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // "*.*" means every file, also one without a dot in its name.
        if (patterns == QLatin1String("*.*"))
            patterns = QStringLiteral("*");
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters;
}

QString folderOf(const QString& file)
{
    return file.isEmpty() ? QString() : QFileInfo(file).absolutePath() + QLatin1Char('/');
}

namespace {

QString runDialog(QWidget* parent, const QString& proposed, const QString& filter, const QString& suffix,
                  QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilters(qtNameFilters(filter));
    dialog.setDefaultSuffix(suffix);
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

QString QtFileDialogs::openFile(QWidget* parent, const QString& proposed, const QString& filter,
                                const QString& defaultSuffix)
{
    return runDialog(parent, proposed, filter, defaultSuffix, QFileDialog::AcceptOpen);
}

QString QtFileDialogs::saveFile(QWidget* parent, const QString& proposed, const QString& filter,
                                const QString& defaultSuffix)
{
    return runDialog(parent, proposed, filter, defaultSuffix, QFileDialog::AcceptSave);
}

QString FileDialogs::chooseFolder(QWidget* parent, const QString& proposed)
{
    return QFileDialog::getExistingDirectory(parent, QStringLiteral("Ordner wählen"), proposed);
}

} // namespace hz::gui
