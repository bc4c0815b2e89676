#pragma once
// Reading a text file as lines, the way a text editor reads it: CR LF, LF or CR end a line, a
// final line break does not start another line, UTF-8 byte order marks at the very start are
// skipped, and every line is cut after kMaxLineLength characters so that a damaged or foreign
// file cannot make us hold gigabytes. (A reader that must see whole lines and bounds the text
// itself, such as the curve files', sets a larger length.)

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "core/Prompter.h"

namespace hz {

// No Intel HEX record needs more than 521 characters; the longest position any reader of ours
// checks is 16384.
inline constexpr std::size_t kMaxLineLength = 17000;

// No firmware file of either PIC layout needs more: 1024 lines of at most 521 characters.
// What does not end by then - a device such as /dev/zero, a pipe, the standard input - is
// not read further, and a bigger file is no firmware file.
inline constexpr unsigned long long kMaxFirmwareFileSize = 1024ull * 1024ull;

// Splits text handed over in pieces into lines. Lines are collected until taken with
// takeLines(); beyond `keep` lines in all, lines are only counted.
class LineSplitter {
public:
    // Lines are cut after `maxLength` characters.
    explicit LineSplitter(std::size_t keep, std::size_t maxLength = kMaxLineLength)
        : m_keep(keep), m_maxLength(maxLength)
    {}
    void feed(const char* data, std::size_t n);
    // Ends the text: a last line without a line break is a line too.
    void finish();
    // The lines completed since the last call.
    std::vector<std::string> takeLines();
    // Lines in the text so far, also those beyond `keep`.
    std::size_t total() const { return m_total; }

private:
    void take(char c);
    void endLine();

    std::size_t m_keep;
    std::size_t m_maxLength;
    std::size_t m_stored = 0;
    std::vector<std::string> m_lines;
    std::string m_current;
    std::size_t m_total = 0;
    bool m_open = false;
    bool m_afterCr = false;
    int m_bomPos = 0; // bytes of a byte order mark matched so far; -1 once past the marks
};

// Splits file contents into lines as above. At most `keep` lines are stored, each cut after
// `maxLength` characters; `total` receives the number of lines in the text.
std::vector<std::string> splitLines(const std::string& text, std::size_t keep, std::size_t* total = nullptr,
                                    std::size_t maxLength = kMaxLineLength);

enum class TextFileRead { Done, Stopped, Unreadable };

// Reads `fileName` and hands its lines to `onLine` in order while reading; stops early when
// `onLine` returns false (Stopped). A file that cannot be opened or read is reported through
// `prompter` with its German reason (Unreadable); lines handed over before a read error stay
// handed over. A file that is not a regular file (a device, a pipe) is read up to
// kMaxFirmwareFileSize bytes; one that gives more is refused the same way.
TextFileRead ReadTextFileLines(const std::string& fileName, Prompter& prompter,
                               const std::function<bool(std::string& line)>& onLine);
// The same on a stream already open (the standard input of the command-line tool); `name`
// stands for the file in the message about a read error. Whatever lies behind it, a stream is
// read up to kMaxFirmwareFileSize bytes, as a pipe is.
TextFileRead ReadTextStreamLines(std::istream& in, const std::string& name, Prompter& prompter,
                                 const std::function<bool(std::string& line)>& onLine);

} // namespace hz
