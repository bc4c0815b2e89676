#pragma once
// The previous and next HEX file of the folder of the loaded file, for "<" and ">".

#include <QString>
#include <QStringList>

class FolderBrowser {
public:
    // Full paths (the loaded file's folder part + name) of the files "<" and ">" load; empty
    // when there is none.
    QString PrevFile, NextFile;

    // Computes PrevFile and NextFile for `fileName`, wrapping around at both ends of the
    // folder. With one HEX file in the folder both stay empty, with two each names the other.
    void ScanFolder(const QString& fileName);
};

// Order of file names as a file manager shows them: letters compared without regard to case,
// runs of digits compared by their number ("file2" before "file10"); names equal that way are
// ordered case-sensitively so that the order is total. True when `a` comes before `b`.
bool naturalFileNameLess(const QString& a, const QString& b);

// The plain, non-hidden files of `folder` whose names end in ".hex" in any letter case, in
// naturalFileNameLess order. An empty `folder` is the current folder.
QStringList hexFilesOf(const QString& folder);
