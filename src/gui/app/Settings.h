#pragma once
// The settings file: servo editor grid, window size and position, and the last loaded file,
// kept between runs in an INI file.
//
//   [Raster]      x, y                    item index of the two grid lists of the servo editor
//   [Window]      Width, Top, Left        pixels
//   [ReloadFile]  LastFileName_HEX        full path, proposed by the open and save dialogs
//
// Other sections and keys in the file survive a rewrite.

#include <QString>

struct SettingsValues {
    int rasterX = 0, rasterY = 0, width = 560, top = 10, left = 10;
    QString lastFileName;
};

// The executable's file name with ".ini" appended (a Windows-style ".exe" is replaced instead),
// next to the executable when that folder is writable, otherwise in the user's configuration
// folder of the application, which is created when missing.
QString SettingsFilePath();

// The values of the file at `path`; a missing file, an unreadable file or an unreadable key
// gives the defaults of SettingsValues for what is missing.
SettingsValues ReadSettings(const QString& path);

// Writes the six keys into the file at `path`, keeping everything else in it. False with
// `error` (a text for the user) when the existing file cannot be read or the new one cannot be
// written; the file on disk is then unchanged.
bool WriteSettings(const QString& path, const SettingsValues& v, QString* error);
