#pragma once
// A small INI file kept in memory as a whole, so that a rewrite changes only the keys written
// and keeps every other section, key, comment and blank line where it was.
//
//   [Section]
//   Key=Value
//
// Section and key names are compared without regard to ASCII letter case, as Windows INI files
// always were. Blanks around names and values are not part of them; a value that has to keep
// blanks at its ends, or that begins and ends with a double quote itself, is written inside
// double quotes, and one pair of enclosing double quotes is removed on reading. Lines end in CR
// LF when written; LF or CR LF are read. Text is UTF-8.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hz {

class IniFile {
public:
    // Reads `path`. A file that does not exist reads as empty and is no error; a file that
    // exists but cannot be read gives false and `error` (the content is then empty).
    bool load(const std::string& path, std::string* error);
    // Replaces the content by `text`.
    void parse(std::string_view text);

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    std::string readString(std::string_view section, std::string_view key, const std::string& fallback) const;
    // A decimal whole number with optional sign; anything else, or no key, gives `fallback`.
    int readInteger(std::string_view section, std::string_view key, int fallback) const;

    // Sets an existing key in place, or adds it at the end of its section, or adds the
    // section at the end of the file.
    void setValue(std::string_view section, std::string_view key, const std::string& value);
    void setInteger(std::string_view section, std::string_view key, int value);

    // The content as lines, without line ends.
    std::vector<std::string> lines() const;
    // Writes the content to `path` by the rules of FileSet (a temporary file beside it and a
    // rename). `error` gets the German message naming the file: why nothing was written, or,
    // after a save that went through, a warning (empty when there is none).
    bool save(const std::string& path, std::string* error) const;

private:
    struct Line {
        std::string raw;   // the line as read, for comments, blanks and unparsed lines
        std::string key;   // empty when the line holds no key
        std::string value; // decoded value
        bool isKey = false;
    };
    struct Section {
        std::string name;   // empty for the lines before the first section header
        std::string header; // the header line as read
        std::vector<Line> lines;
    };

    const Line* find(std::string_view section, std::string_view key) const;
    Section* findSection(std::string_view section);

    std::vector<Section> m_sections;
};

} // namespace hz
