#pragma once
// The previous and next HEX file of the folder of the loaded file, for "<" and ">". Plain folder
// logic over std::filesystem: the window and any other face step through a folder alike.

#include <string>
#include <vector>

namespace hz {

class FolderBrowser {
public:
    // Full paths (the loaded file's folder part + name) of the files "<" and ">" load; empty
    // when there is none.
    std::string PrevFile, NextFile;

    // Computes PrevFile and NextFile for `fileName`, wrapping around at both ends of the
    // folder. With one HEX file in the folder both stay empty, with two each names the other.
    void ScanFolder(const std::string& fileName);
};

// Order of file names as a file manager shows them: letters compared without regard to case,
// runs of digits compared by their number ("file2" before "file10"); names equal that way are
// ordered case-sensitively so that the order is total. True when `a` comes before `b`. Names
// are UTF-8; a byte outside valid UTF-8 counts as a character of its own.
bool NaturalFileNameLess(const std::string& a, const std::string& b);

// The plain, non-hidden files of `folder` (links to such files included) whose names end in
// ".hex" in any letter case, in NaturalFileNameLess order. An empty `folder` is the current
// folder.
std::vector<std::string> HexFilesOf(const std::string& folder);

} // namespace hz
