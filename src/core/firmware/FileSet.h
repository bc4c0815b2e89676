#pragma once
// Writing files so that a save never leaves a half-written file, never mixes two files and
// never replaces what it must not. Every file the user saves goes through here: HEX files,
// curve and set files, the settings file and the files of a decoder series.
//
// The rules, in one place:
// - A symbolic link is followed and the file it points to is written; the link stays a link.
// - A regular file is written to a temporary file beside it, synced and renamed over it, so
//   its name shows the old file or the whole new one. It keeps its permissions.
// - A regular file with further names (hard links) is written in place once the complete
//   temporary file has proved the space, so that every name shows the new content. If the
//   write in place fails, the old content goes back in and the temporary file is renamed over
//   this one name; a warning says that the other names keep the old content.
// - Where no temporary file can be made (a writable file in a read-only folder) the file is
//   written in place; if that fails, its old content is written back.
// - A file whose owner has taken away the write permission is not replaced, also not by root.
// - A character device or a FIFO (/dev/null, a pipe to another program) is written into and
//   stays what it is; a block device, a socket or a folder is refused.
// - A set of files is written all or nothing: every file is prepared beside its target first,
//   then all are put in place; if one cannot be, those already put are undone.

#include <memory>
#include <string>
#include <vector>

#include "core/Prompter.h"

namespace hz {

struct WriteResult {
    bool written = false;
    // German, naming the file: why nothing was written, or, after a write that went through,
    // a warning the user must read (empty when there is none).
    std::string message;
};

class FileSet {
public:
    FileSet();
    ~FileSet();
    FileSet(const FileSet&) = delete;
    FileSet& operator=(const FileSet&) = delete;

    // A file to write: `lines`, each followed by CR LF.
    void add(const std::string& path, const std::vector<std::string>& lines);
    // A file to write with exactly these bytes (a settings sheet, a PDF).
    void addContent(const std::string& path, std::string content);
    // Writes every file added, or none. Nothing is written before every target has been
    // checked and every regular file prepared beside its target. A device cannot take back
    // what it was sent, so devices and FIFOs are written last.
    WriteResult commit();

private:
    struct Entry;
    std::vector<std::unique_ptr<Entry>> m_entries;
};

// One file written by the rules above.
WriteResult writeLinesAtomically(const std::string& path, const std::vector<std::string>& lines);

// One file of exactly these bytes written by the rules above.
WriteResult writeContentAtomically(const std::string& path, std::string content);

// Shows a failed write as an error and the warning of a write that went through; returns
// whether the file was written.
bool ReportWrite(const WriteResult& result, Prompter& prompter);

// True when both names lead to the same existing file (device and inode, links followed):
// "./x.hex" and "x.hex", a symbolic link and its target, two hard links of one file.
bool SameFile(const std::string& a, const std::string& b);

} // namespace hz
