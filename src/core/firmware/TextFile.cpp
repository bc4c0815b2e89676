#include "core/firmware/TextFile.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <sys/stat.h>

#include "core/SystemError.h"
#include "core/firmware/HexText.h"

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

TextFileRead ReadTextFileLines(const std::string& fileName, Prompter& prompter,
                               const std::function<bool(std::string& line)>& onLine)
{
    errno = 0;
    std::ifstream in(fileName, std::ios::binary);
    struct stat st {};
    const bool isFolder = stat(fileName.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    if (!in || isFolder) {
        const int err = isFolder ? EISDIR : (errno != 0 ? errno : ENOENT);
        prompter.tell(MsgKind::Error,
                      strprintf("Die Datei \"%s\" kann nicht geöffnet werden: %s.", DisplayName(fileName).c_str(),
                                SystemErrorReason(err).c_str()),
                      Buttons::Ok);
        return TextFileRead::Unreadable;
    }
    return ReadTextStreamLines(in, fileName, prompter, onLine);
}

TextFileRead ReadTextStreamLines(std::istream& in, const std::string& fileName, Prompter& prompter,
                                 const std::function<bool(std::string& line)>& onLine)
{
    errno = 0;
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
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        splitter.feed(buffer.data(), static_cast<std::size_t>(in.gcount()));
        if (!handOver())
            return TextFileRead::Stopped;
    }
    if (in.bad()) {
        prompter.tell(MsgKind::Error,
                      strprintf("Die Datei \"%s\" kann nicht gelesen werden: %s.", DisplayName(fileName).c_str(),
                                SystemErrorReason(errno != 0 ? errno : EIO).c_str()),
                      Buttons::Ok);
        return TextFileRead::Unreadable;
    }
    splitter.finish();
    return handOver() ? TextFileRead::Done : TextFileRead::Stopped;
}

} // namespace hz
