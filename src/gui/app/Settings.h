#pragma once
// The settings file: servo editor grid, window size and position, and the last loaded file,
// kept between runs in an INI file.
//
//   [Raster]      x, y                    item index of the two grid lists of the servo editor
//   [Window]      Width, Top, Left        pixels
//   [ReloadFile]  LastFileName_HEX        full path, proposed by the open and save dialogs
//   [RecentFiles] File1 .. File10         full paths of "Zuletzt geöffnet", newest first
//   [Documentation] BaseUrl               address of a documentation site that takes the place
//                                         of the installed manual; empty: the manual
//
// Other sections and keys in the file survive a rewrite.

#include <QString>
#include <QStringList>

struct SettingsValues {
    int rasterX = 0, rasterY = 0, width = 560, top = 10, left = 10;
    QString lastFileName;
    QString docBase; // blanks around it removed
};

// What decides where the settings file lives: the program file and its folder's owner and
// writability, seen by the user who runs it.
struct ProgramFolder {
    QString exePath;       // absolute path of the program file
    unsigned ownerId = 0;  // user id owning the program's folder
    bool writable = false; // the running user may create files in it
};

// The settings file for a program in `folder`, run by user `userId`, whose configuration home
// is `configHome` ($XDG_CONFIG_HOME, usually ~/.config):
//  - a portable copy - the folder belongs to the user who runs it (owned by that user, not by
//    root, and writable) - keeps its settings beside the program: the program file's name with
//    ".ini" appended (a Windows-style ".exe" is replaced instead);
//  - any other program (installed in /usr/bin, or run by root) keeps them in
//    configHome/hexzwirbel/hexzwirbel.ini.
QString SettingsFileFor(const ProgramFolder& folder, unsigned userId, const QString& configHome);

// The facts above about the folder of the program file `exePath`, as the running user sees it.
ProgramFolder ProgramFolderOf(const QString& exePath);

// SettingsFileFor the running program and user; the folder in the configuration home is created
// when it is chosen and missing.
QString SettingsFilePath();

// The values of the file at `path`; a missing file, an unreadable file or an unreadable key
// gives the defaults of SettingsValues for what is missing.
SettingsValues ReadSettings(const QString& path);

// Writes the seven keys into the file at `path`, keeping everything else in it. False with
// `error` (a text for the user) when the existing file cannot be read or the new one cannot be
// written; the file on disk is then unchanged.
bool WriteSettings(const QString& path, const SettingsValues& v, QString* error);

// The list of "Zuletzt geöffnet" holds at most this many files.
inline constexpr int kRecentFilesMax = 10;

// The recent files of the file at `path`, newest first; empty keys and a missing file give
// fewer or none.
QStringList ReadRecentFiles(const QString& path);

// Writes File1 .. File10 of [RecentFiles] (an empty value where the list is shorter), keeping
// everything else in the file; false with `error` as WriteSettings.
bool WriteRecentFiles(const QString& path, const QStringList& files, QString* error);
