#pragma once
// What the loaded file tells about its firmware, as values: the identifier and the version of
// its ID record, and the PIC the identification assigned. The status bar, the reports and the
// version checks of the identification and the pages read them here.

#include <cstdio>
#include <optional>
#include <string>

namespace hz {

// A firmware version: 3.58 is {3, 58}, 0.05 is {0, 5}.
struct Version {
    int major = 0;
    int minor = 0; // hundredths

    // 3.58 is 358. Versions are compared this way.
    long hundredths() const { return 100L * major + minor; }
    friend bool operator==(const Version&, const Version&) = default;
};

// "3.58", "0.05": as the firmware writes its version (the minor always with two digits).
inline std::string VersionText(Version v)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d.%02d", v.major, v.minor);
    return text;
}

struct FirmwareFacts {
    // The identifier of the ID record, as the record writes it: one digit in the classic
    // layout ("8"), two in the 16F18324 one ("01"). Empty while no ID record has been read.
    std::string identifier;
    // The version of the ID record. None without an ID record, and when its characters are no
    // decimal number (the load stops there).
    std::optional<Version> version;
    // The version's characters where they are not plain decimal digits, as the record writes
    // them ("3.A8", "0.+5"); empty for every well-formed record. A damaged record is shown as
    // it stands rather than as a number that would hide the damage.
    std::string versionWritten;
    // The PIC the identification assigned once it has finished; 0 before that and without one.
    int pic = 0;

    // The version as the status bar and the reports write it, "3.58"; empty without one.
    std::string versionText() const
    {
        if (!versionWritten.empty())
            return versionWritten;
        return version ? VersionText(*version) : std::string();
    }
};

} // namespace hz
