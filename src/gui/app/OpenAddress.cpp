#include "gui/app/OpenAddress.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include "core/Prompter.h"
#include "gui/common/QtText.h"

namespace hz::gui {

DocSite ProgramDocSite(const QString& docBase, QString dataFolder)
{
    if (dataFolder.isEmpty())
        dataFolder = fromStd(FindDataFolder(toStd(QCoreApplication::applicationFilePath())));
    if (dataFolder.isEmpty()) // not found: named where the installed program keeps it
        dataFolder = QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/hexzwirbel"));
    return {toStd(docBase), toStd(QDir(dataFolder).filePath(QString::fromLatin1(kManualFolder)))};
}

void OpenAddress(const QString& address, bool installedManual, const std::function<bool(const QString&)>& open,
                 Prompter& prompter)
{
    // An address with a scheme is opened as it is (a documentation site may also be a file:
    // address); anything else is a page of the installed manual.
    const QUrl url = address.contains(QLatin1String("://")) ? QUrl(address) : QUrl::fromLocalFile(address);
    if (url.isLocalFile()) {
        const QFileInfo page(url.toLocalFile());
        if (!page.isAbsolute() || !page.isFile()) {
            QString text = QStringLiteral("Die Seite gibt es nicht:\n%1").arg(address);
            if (installedManual)
                text += QStringLiteral("\n\nDas Handbuch gehört in den Ordner share/hexzwirbel/handbuch neben dem "
                                       "Ordner des Programms.");
            prompter.tell(MsgKind::Error, toStd(text), Buttons::Ok);
            return;
        }
    }
    const bool opened = open ? open(url.toString()) : QDesktopServices::openUrl(url);
    if (!opened)
        prompter.tell(MsgKind::Error,
                      toStd(QStringLiteral("Die Seite konnte nicht geöffnet werden:\n%1\n\nEs ist kein Browser "
                                           "eingerichtet, der sie anzeigt.")
                                .arg(address)),
                      Buttons::Ok);
}

} // namespace hz::gui
