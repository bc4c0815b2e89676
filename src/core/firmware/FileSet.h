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
//   this one name; the result is an error naming which names show which content.
// - Where no temporary file can be made (a writable file in a read-only folder) the file is
//   written in place; if that fails, its old content is written back.
// - A file whose owner has taken away the write permission is not replaced, also not by root;
//   nor is a file the user could not open for writing (another user's file in a folder
//   everybody may write).
// - A character device or a FIFO (/dev/null, a pipe to another program) is written into and
//   stays what it is; a block device, a socket or a folder is refused.
// - A name of one of the program's open descriptors (/dev/stdout, /dev/stderr, /dev/fd/N,
//   /proc/self/fd/N) is written through that descriptor, as the shell opened it (appending
//   after ">>"); the file behind it is never replaced or cut.
// - No file of the set may be a file the caller keeps intact (what it reads: the loaded
//   firmware, the files of a scan), and no two files of the set may be the same file.
// - A set of files is written all or nothing: every file is prepared beside its target first,
//   then all are put in place; if one cannot be, those already put are undone.

#include <memory>
#include <string>
#include <vector>

#include "core/Prompter.h"

namespace hz {

struct WriteResult {
    // The new content stands under the name written to.
    bool written = false;
    // Written, but not every name of the file shows the new content (a hard-linked file that
    // could not be written in place): the message is an error, not a warning.
    bool incomplete = false;
    // German, naming the file: why nothing was written, or, after a write that went through,
    // an error (incomplete) or a warning the user must read (empty when there is none).
    std::string message;
    // Written as asked: every name of every file shows the new content.
    bool complete() const { return written && !incomplete; }
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
    // A file the caller reads and that must stay as it is: no file of the set may be it.
    void keepIntact(const std::string& path);
    // Writes every file added, or none. Nothing is written before every target has been
    // checked and every regular file prepared beside its target. A device cannot take back
    // what it was sent, so devices and FIFOs are written last.
    WriteResult commit();

private:
    struct Entry;
    std::vector<std::unique_ptr<Entry>> m_entries;
    std::vector<std::string> m_keep;
};

// One file written by the rules above; none of `keepIntact` may be it.
WriteResult writeLinesAtomically(const std::string& path, const std::vector<std::string>& lines,
                                 const std::vector<std::string>& keepIntact = {});

// One file of exactly these bytes written by the rules above; none of `keepIntact` may be it.
WriteResult writeContentAtomically(const std::string& path, std::string content,
                                   const std::vector<std::string>& keepIntact = {});

// Shows a failed or incomplete write as an error and the warning of a write that went through;
// returns whether the file was written (the new content stands under its name).
bool ReportWrite(const WriteResult& result, Prompter& prompter);

// Why writing `outputs` would destroy a file, in German, naming both; empty when it would not.
// Refused: an output that is the same file as one of `inputs`, or as another output. The same
// file means the same device and inode after links are followed (a descriptor's name: the file
// it has open); a name not there yet is the same as another when both lead to one name in one
// folder. Only regular files count as inputs: a terminal or a pipe read and written loses
// nothing. Every writing command asks this before it writes, and every FileSet before it
// commits.
std::string OutputClash(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs);

// The descriptor of this process a name stands for: /dev/stdin, /dev/stdout, /dev/stderr,
// /dev/fd/N, /proc/self/fd/N (also at the end of symbolic links); -1 for any other name.
int DescriptorOf(const std::string& path);

// For tests: the next write in place stops after half of its bytes and fails with `err`, as a
// disk that fills up makes it fail.
void FailNextWriteInPlace(int err);

// True when both names lead to the same existing file (device and inode, links followed):
// "./x.hex" and "x.hex", a symbolic link and its target, two hard links of one file.
bool SameFile(const std::string& a, const std::string& b);

} // namespace hz
