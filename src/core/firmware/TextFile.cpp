#include "core/firmware/TextFile.h"

#include <algorithm>
#include <cerrno>
#include <istream>
#include <limits>

#include "core/SystemError.h"
#include "core/firmware/HexText.h"
#include "core/platform/Platform.h"

namespace hz {

namespace {
constexpr unsigned char kBom[3] = {0xEF, 0xBB, 0xBF};
} // namespace

void LineSplitter::feed(const char* data, std::size_t n)
{
    std::size_t i = 0;
    for (; i < n && m_bomPos >= 0; ++i) {
        const char c = data[i];
        // UTF-8 byte order marks, which some editors put at the start of a text file (and
        // some put there again on every save), are not part of the first record.
        if (static_cast<unsigned char>(c) == kBom[m_bomPos]) {
            if (++m_bomPos == 3)
                m_bomPos = 0;
            continue;
        }
        const int matched = m_bomPos;
        m_bomPos = -1;
        for (int k = 0; k < matched; ++k)
            take(static_cast<char>(kBom[k]));
        take(c);
    }
    // Past the start, what take() does character by character, a line's run at a time.
    while (i < n) {
        if (m_afterCr) {
            m_afterCr = false;
            if (data[i] == '\n') {
                ++i;
                continue;
            }
        }
        std::size_t end = i;
        while (end < n && data[end] != '\r' && data[end] != '\n')
            ++end;
        if (end > i) {
            m_open = true;
            if (m_stored < m_keep && m_current.size() < m_maxLength)
                m_current.append(data + i, std::min(end - i, m_maxLength - m_current.size()));
        }
        if (end == n)
            return;
        endLine();
        m_afterCr = data[end] == '\r';
        i = end + 1;
    }
}

void LineSplitter::finish()
{
    if (m_bomPos > 0) {
        const int matched = m_bomPos;
        m_bomPos = -1;
        for (int k = 0; k < matched; ++k)
            take(static_cast<char>(kBom[k]));
    }
    if (m_open)
        endLine();
}

std::vector<std::string> LineSplitter::takeLines()
{
    std::vector<std::string> out = std::move(m_lines);
    m_lines.clear();
    return out;
}

void LineSplitter::take(char c)
{
    if (m_afterCr) {
        m_afterCr = false;
        if (c == '\n')
            return;
    }
    if (c == '\r' || c == '\n') {
        endLine();
        m_afterCr = c == '\r';
        return;
    }
    m_open = true;
    if (m_stored < m_keep && m_current.size() < m_maxLength)
        m_current.push_back(c);
}

void LineSplitter::endLine()
{
    if (m_stored < m_keep) {
        m_lines.push_back(std::move(m_current));
        ++m_stored;
    }
    m_current.clear();
    m_open = false;
    ++m_total;
}

std::vector<std::string> splitLines(const std::string& text, std::size_t keep, std::size_t* total,
                                    std::size_t maxLength)
{
    LineSplitter s(keep, maxLength);
    s.feed(text.data(), text.size());
    s.finish();
    if (total)
        *total = s.total();
    return s.takeLines();
}

namespace {

// Reads pieces through `readSome` (bytes read, 0 at the end, -1 with `err` after a failure)
// and hands their lines over. More than `limit` bytes: refused with `tooMuch`.
TextFileRead readPieces(const std::string& fileName, Prompter& prompter,
                        const std::function<bool(std::string& line)>& onLine, unsigned long long limit,
                        const std::string& tooMuch, const std::function<long(char*, std::size_t, int&)>& readSome)
{
    LineSplitter splitter(static_cast<std::size_t>(-1));
    auto handOver = [&] {
        for (std::string& line : splitter.takeLines())
            if (!onLine(line))
                return false;
        return true;
    };
    // 16 KiB, two blocks for a full-size HEX file. A buffer of 64 KiB, freed at the top of the
    // heap after every read, made the C library give memory back to the system and take it
    // again on the next load.
    std::vector<char> buffer(1 << 14);
    unsigned long long total = 0;
    for (;;) {
        int err = 0;
        const long n = readSome(buffer.data(), buffer.size(), err);
        if (n < 0) {
            prompter.tell(MsgKind::Error,
                          strprintf("Die Datei \"%s\" kann nicht gelesen werden: %s.", DisplayName(fileName).c_str(),
                                    SystemErrorReason(err != 0 ? err : EIO).c_str()),
                          Buttons::Ok);
            return TextFileRead::Unreadable;
        }
        if (n == 0)
            break;
        total += static_cast<unsigned long long>(n);
        if (total > limit) {
            prompter.tell(MsgKind::Error, tooMuch, Buttons::Ok);
            return TextFileRead::Unreadable;
        }
        splitter.feed(buffer.data(), static_cast<std::size_t>(n));
        if (!handOver())
            return TextFileRead::Stopped;
    }
    splitter.finish();
    return handOver() ? TextFileRead::Done : TextFileRead::Stopped;
}

// `what` names the source: "Die Datei "/dev/zero" ist keine gewöhnliche Datei und".
std::string tooMuchText(const std::string& what)
{
    return strprintf("%s liefert mehr als %llu Bytes; eine Firmware-Datei hat höchstens %llu Bytes (1024 Zeilen). "
                     "Sie wurde darum nicht gelesen.",
                     what.c_str(), kMaxFirmwareFileSize, kMaxFirmwareFileSize);
}

} // namespace

TextFileRead ReadTextFileLines(const std::string& fileName, Prompter& prompter,
                               const std::function<bool(std::string& line)>& onLine)
{
    platform::File file;
    platform::FileInfo info;
    int err = file.openForReading(fileName);
    if (err == 0)
        err = file.look(info);
    if (err == 0 && info.kind == platform::FileKind::Folder)
        err = EISDIR;
    if (err != 0) {
        prompter.tell(MsgKind::Error,
                      strprintf("Die Datei \"%s\" kann nicht geöffnet werden: %s.", DisplayName(fileName).c_str(),
                                SystemErrorReason(err).c_str()),
                      Buttons::Ok);
        return TextFileRead::Unreadable;
    }
    // A regular file ends; a device or a pipe need not (/dev/zero never does).
    const bool regular = info.kind == platform::FileKind::Regular;
    return readPieces(
        fileName, prompter, onLine, regular ? std::numeric_limits<unsigned long long>::max() : kMaxFirmwareFileSize,
        regular ? std::string()
                : tooMuchText("Die Datei \"" + DisplayName(fileName) + "\" ist keine gewöhnliche Datei und"),
        [&file](char* buf, std::size_t size, int& e) -> long { return file.read(buf, size, e); });
}

TextFileRead ReadTextStreamLines(std::istream& in, const std::string& fileName, Prompter& prompter,
                                 const std::function<bool(std::string& line)>& onLine)
{
    errno = 0;
    return readPieces(fileName, prompter, onLine, kMaxFirmwareFileSize,
                      tooMuchText("Die Eingabe \"" + DisplayName(fileName) + "\""),
                      [&in](char* buf, std::size_t size, int& e) -> long {
                          if (!in) {
                              if (!in.bad())
                                  return 0;
                              e = errno != 0 ? errno : EIO;
                              return -1;
                          }
                          in.read(buf, static_cast<std::streamsize>(size));
                          const auto n = static_cast<long>(in.gcount());
                          if (n == 0 && in.bad()) {
                              e = errno != 0 ? errno : EIO;
                              return -1;
                          }
                          return n;
                      });
}

} // namespace hz
