#include "gui/app/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "core/IniFile.h"
#include "gui/app/QtText.h"

using hz::gui::fromStd;
using hz::gui::toPath;
using hz::gui::toStd;

QString SettingsFilePath()
{
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    QString name = exe.fileName();
    if (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        name.chop(4);
    name += QLatin1String(".ini");

    // Next to the program, where a portable installation keeps it. An installed program's
    // folder (/usr/bin) is not writable for the user; the settings then go to the user's
    // configuration folder instead of being lost at every "Ende".
    const QString exeDir = exe.absolutePath();
    if (QFileInfo(exeDir).isWritable())
        return QDir(exeDir).filePath(name);

    const QString configDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(configDir);
    return QDir(configDir).filePath(name);
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
    ini.setValue("ReloadFile", "LastFileName_HEX", toStd(v.lastFileName));
    if (!ini.save(toPath(path), &why)) {
        if (error)
            *error = fromStd(why); // names the file and says why
        return false;
    }
    return true;
}
