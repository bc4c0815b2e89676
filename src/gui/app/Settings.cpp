#include "gui/app/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

#include <string>

#include "core/IniFile.h"
#include "gui/common/QtText.h"

using hz::gui::fromStd;
using hz::gui::toPath;
using hz::gui::toStd;

QString SettingsFileFor(const ProgramFolder& folder, unsigned userId, const QString& configHome)
{
    // Next to the program, where a portable copy keeps it: a folder the user unpacked it into.
    // A folder owned by root is never one: run as root, the program in /usr/bin would
    // otherwise write /usr/bin/hexzwirbel.ini, and a package's folder is no place for a
    // user's settings.
    const QFileInfo exe(folder.exePath);
    if (folder.writable && folder.ownerId == userId && userId != 0) {
        QString name = exe.fileName();
        if (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
            name.chop(4);
        return QDir(exe.absolutePath()).filePath(name + QLatin1String(".ini"));
    }
    // A fixed name in the configuration home, whatever the program file is called: the
    // installed program and every user find it at the same documented place.
    return QDir(configHome).filePath(QStringLiteral("hexzwirbel/hexzwirbel.ini"));
}

ProgramFolder ProgramFolderOf(const QString& exePath)
{
    const QFileInfo dir(QFileInfo(exePath).absolutePath());
    ProgramFolder f;
    f.exePath = QFileInfo(exePath).absoluteFilePath();
    f.ownerId = dir.ownerId();
    f.writable = dir.isWritable();
    return f;
}

QString SettingsFilePath()
{
    const QString path =
        SettingsFileFor(ProgramFolderOf(QCoreApplication::applicationFilePath()), static_cast<unsigned>(::geteuid()),
                        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    const QString folder = QFileInfo(path).absolutePath();
    if (!QFileInfo(folder).isDir())
        QDir().mkpath(folder);
    return path;
}

SettingsValues ReadSettings(const QString& path)
{
    SettingsValues v;
    hz::IniFile ini;
    if (!ini.load(toPath(path), nullptr))
        return v;
    v.rasterX = ini.readInteger("Raster", "x", v.rasterX);
    v.rasterY = ini.readInteger("Raster", "y", v.rasterY);
    v.width = ini.readInteger("Window", "Width", v.width);
    v.top = ini.readInteger("Window", "Top", v.top);
    v.left = ini.readInteger("Window", "Left", v.left);
    v.lastFileName = fromStd(ini.readString("ReloadFile", "LastFileName_HEX", std::string()));
    v.docBase = fromStd(ini.readString("Documentation", "BaseUrl", std::string())).trimmed();
    return v;
}

bool WriteSettings(const QString& path, const SettingsValues& v, QString* error)
{
    hz::IniFile ini;
    std::string why;
    // A file that exists but cannot be read is not overwritten: its other sections would be lost.
    if (!ini.load(toPath(path), &why)) {
        if (error)
            *error = QStringLiteral("Die Datei \"%1\" konnte nicht gelesen werden: %2").arg(path, fromStd(why));
        return false;
    }
    ini.setInteger("Raster", "x", v.rasterX);
    ini.setInteger("Raster", "y", v.rasterY);
    ini.setInteger("Window", "Width", v.width);
    ini.setInteger("Window", "Top", v.top);
    ini.setInteger("Window", "Left", v.left);
    // Kept as a full path: the program may start from another folder next time, where a name
    // relative to this one leads nowhere.
    const QString last = v.lastFileName.isEmpty() ? QString() : QFileInfo(v.lastFileName).absoluteFilePath();
    ini.setValue("ReloadFile", "LastFileName_HEX", toStd(last));
    // Written also when empty, so that the file shows where a documentation site can be named.
    ini.setValue("Documentation", "BaseUrl", toStd(v.docBase));
    if (!ini.save(toPath(path), &why)) {
        if (error)
            *error = fromStd(why); // names the file and says why
        return false;
    }
    return true;
}

namespace {

std::string recentKey(int i) { return "File" + std::to_string(i + 1); }

} // namespace

QStringList ReadRecentFiles(const QString& path)
{
    QStringList files;
    hz::IniFile ini;
    if (!ini.load(toPath(path), nullptr))
        return files;
    for (int i = 0; i < kRecentFilesMax; ++i) {
        const QString file = fromStd(ini.readString("RecentFiles", recentKey(i), std::string()));
        if (!file.isEmpty() && !files.contains(file))
            files << file;
    }
    return files;
}

bool WriteRecentFiles(const QString& path, const QStringList& files, QString* error)
{
    hz::IniFile ini;
    std::string why;
    if (!ini.load(toPath(path), &why)) {
        if (error)
            *error = QStringLiteral("Die Datei \"%1\" konnte nicht gelesen werden: %2").arg(path, fromStd(why));
        return false;
    }
    for (int i = 0; i < kRecentFilesMax; ++i)
        ini.setValue("RecentFiles", recentKey(i), i < files.size() ? toStd(files.at(i)) : std::string());
    if (!ini.save(toPath(path), &why)) {
        if (error)
            *error = fromStd(why);
        return false;
    }
    return true;
}
