#include "core/IniFile.h"

#include <cerrno>
#include <cstring>

#include "core/SystemError.h"
#include "core/firmware/FileSet.h"
#include "core/firmware/HexText.h"
#include "core/platform/Platform.h"

namespace hz {

namespace {

std::string_view trim(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool sameName(std::string_view a, std::string_view b) { return upperAscii(a) == upperAscii(b); }

std::string decodeValue(std::string_view raw)
{
    std::string_view v = trim(raw);
    if (v.size() >= 2 && v.front() == '"' && v.back() == '"')
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

std::string encodeValue(const std::string& value)
{
    if (value.empty())
        return value;
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    if (blank(value.front()) || blank(value.back()) || quoted)
        return '"' + value + '"';
    return value;
}

} // namespace

bool IniFile::load(const std::string& path, std::string* error)
{
    m_sections.clear();
    std::string text;
    if (const int err = platform::ReadFile(path, text); err != 0) {
        if (err == ENOENT)
            return true;
        if (error)
            *error = SystemErrorReason(err);
        return false;
    }
    parse(text);
    return true;
}

void IniFile::parse(std::string_view text)
{
    m_sections.clear();
    // Byte order marks at the start are not part of the first line, however many an editor
    // has put there: written back, the first line starts the file, where one would be taken
    // as a mark again.
    while (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    m_sections.push_back({});
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        const std::string_view t = trim(line);
        if (!t.empty() && t.front() == '[' && t.find(']') != std::string_view::npos) {
            Section sec;
            sec.name = std::string(trim(t.substr(1, t.find(']') - 1)));
            sec.header = std::string(line);
            m_sections.push_back(std::move(sec));
            continue;
        }
        Line l;
        l.raw = std::string(line);
        const std::size_t eq = line.find('=');
        if (!t.empty() && t.front() != ';' && t.front() != '#' && eq != std::string_view::npos) {
            l.key = std::string(trim(line.substr(0, eq)));
            l.value = decodeValue(line.substr(eq + 1));
            l.isKey = !l.key.empty();
        }
        m_sections.back().lines.push_back(std::move(l));
    }
}

const IniFile::Line* IniFile::find(std::string_view section, std::string_view key) const
{
    for (const auto& sec : m_sections) {
        if (sec.header.empty() || !sameName(sec.name, section))
            continue;
        for (const auto& l : sec.lines) {
            if (l.isKey && sameName(l.key, key))
                return &l;
        }
    }
    return nullptr;
}

IniFile::Section* IniFile::findSection(std::string_view section)
{
    for (auto& sec : m_sections) {
        if (!sec.header.empty() && sameName(sec.name, section))
            return &sec;
    }
    return nullptr;
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const
{
    if (const Line* l = find(section, key))
        return l->value;
    return std::nullopt;
}

std::string IniFile::readString(std::string_view section, std::string_view key, const std::string& fallback) const
{
    return value(section, key).value_or(fallback);
}

int IniFile::readInteger(std::string_view section, std::string_view key, int fallback) const
{
    const auto v = value(section, key);
    int n = 0;
    if (v && parseWholeNumber(*v, n))
        return n;
    return fallback;
}

void IniFile::setValue(std::string_view section, std::string_view key, const std::string& value)
{
    // Where a file has the section twice, the key is changed where a reader finds it first.
    for (auto& sec : m_sections) {
        if (sec.header.empty() || !sameName(sec.name, section))
            continue;
        for (auto& l : sec.lines) {
            if (l.isKey && sameName(l.key, key)) {
                l.value = value;
                l.raw = l.key + "=" + encodeValue(value);
                return;
            }
        }
    }
    Line l;
    l.key = std::string(key);
    l.value = value;
    l.isKey = true;
    l.raw = l.key + "=" + encodeValue(value);

    Section* sec = findSection(section);
    if (!sec) {
        Section added;
        added.name = std::string(section);
        added.header = "[" + added.name + "]";
        m_sections.push_back(std::move(added));
        sec = &m_sections.back();
    }
    // After the last key of the section, so that blank lines or comments that separate it from
    // the next section stay below it; right below the header when it has no key yet.
    auto pos = sec->lines.begin();
    for (auto it = sec->lines.begin(); it != sec->lines.end(); ++it) {
        if (it->isKey)
            pos = it + 1;
    }
    sec->lines.insert(pos, std::move(l));
}

void IniFile::setInteger(std::string_view section, std::string_view key, int value)
{
    setValue(section, key, std::to_string(value));
}

std::vector<std::string> IniFile::lines() const
{
    std::vector<std::string> out;
    for (const auto& sec : m_sections) {
        if (!sec.header.empty())
            out.push_back(sec.header);
        for (const auto& l : sec.lines)
            out.push_back(l.raw);
    }
    return out;
}

bool IniFile::save(const std::string& path, std::string* error) const
{
    const WriteResult result = writeLinesAtomically(path, lines());
    if (error)
        *error = result.message;
    return result.written;
}

} // namespace hz
