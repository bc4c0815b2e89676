#include "firmware/HexWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "firmware/HexText.h"

namespace hz {

namespace {

// Which configuration layout to write. The classic parts keep one word at 0x2007, the
// 16F18324 four words from 0x8007. A file no PIC was assigned to is written in the layout its
// own CONFIG record had, so that nothing it carried is dropped.
enum class ConfigLayout { None, Classic, F18324 };

ConfigLayout configLayout(const FirmwareImage& img)
{
    switch (img.PicModel) {
    case 629:
    case 630:
    case 676:
    case 684:
    case 688:
        return ConfigLayout::Classic;
    case 18324:
        return ConfigLayout::F18324;
    default:
        break;
    }
    if (!img.ConfigFound)
        return ConfigLayout::None;
    return img.ConfigLocation == 0x8007 ? ConfigLayout::F18324 : ConfigLayout::Classic;
}

// Word address of the EEPROM: where this file had it, else where the assigned PIC keeps it.
int eepromLocation(const FirmwareImage& img)
{
    if (img.EepromFound)
        return img.EepromLocation;
    if (img.PicModel == 18324)
        return 0xF000;
    if (img.PicModel != 0)
        return 0x2100;
    return img.EepromLocation != 0 ? img.EepromLocation : 0x2100;
}

class LineBuilder {
public:
    explicit LineBuilder(FirmwareImage& img) : m_img(img) { m_lines.emplace_back(":020000040000FA"); }

    // Emits one data record at an absolute HEX byte address, preceded by an extended linear
    // address record whenever the record lies in the other 64 KiB half than the last one.
    bool emit(int byteAddress, const std::string& data)
    {
        const int base = byteAddress >= 0x10000 ? 0x10000 : 0;
        if (base != m_outputBase) {
            m_lines.emplace_back(base ? ":020000040001F9" : ":020000040000FA");
            m_outputBase = base;
        }
        const int offset = byteAddress - base;
        const auto& t = HexByteTexts();
        const std::size_t reclen = data.size() / 2;
        if (reclen > 255 || data.size() % 2 != 0)
            return checksumProblem();
        std::string body = t[reclen] + t[static_cast<std::size_t>(offset / 256)] +
                           t[static_cast<std::size_t>(offset % 256)] + "00" + data;
        const std::string sum = CalcChecksum(body, m_img.prompter());
        if (sum == "error")
            return false;
        m_lines.push_back(":" + body + sum);
        return true;
    }

    std::vector<std::string>& lines() { return m_lines; }

private:
    bool checksumProblem()
    {
        m_img.prompter().tell(MsgKind::Warning, "Problem bei der Checksummen-Berechnung", Buttons::Cancel);
        return false;
    }
    FirmwareImage& m_img;
    std::vector<std::string> m_lines;
    int m_outputBase = 0;
};

bool buildLines(FirmwareImage& img, std::vector<std::string>& out)
{
    LineBuilder b(img);

    // Program memory, 16 bytes per record. Bytes never read are written blank ("FF"/"3F").
    if (img.RomFound) {
        std::string data;
        int start = 0;
        for (int k = 0; k <= img.RomTop; ++k) {
            if (k - start == 16) {
                if (!b.emit(start, data))
                    return false;
                data.clear();
                start = k;
            }
            data += img.rom(k);
        }
        if (!data.empty() && !b.emit(start, data))
            return false;
    }

    // ID words. Classic: one digit per word, written as the word 0x000d. 16F18324: the words as
    // they stood in the file. A file without ID record gets none.
    if (img.IdFound && !img.IdText.empty()) {
        std::string data;
        if (img.IdLocation == 0x2000) {
            for (char c : img.IdText)
                data += std::string("0") + c + "00";
        } else {
            data = img.IdText;
        }
        if (!b.emit(2 * img.IdLocation, data))
            return false;
    }

    switch (configLayout(img)) {
    case ConfigLayout::Classic:
        if (!b.emit(0x400E, img.ConfigWords[0]))
            return false;
        break;
    case ConfigLayout::F18324:
        for (int k = 0; k < 4; ++k)
            if (!b.emit(0x1000E + 2 * k, img.ConfigWords[static_cast<std::size_t>(k)]))
                return false;
        break;
    case ConfigLayout::None:
        break;
    }

    // EEPROM, one word per byte (high byte 00), 8 bytes per record. Besides what the file had,
    // everything a page changed away from the erased value FF is written.
    int top = img.EepromFound ? img.EepromTop : -1;
    for (int k = FirmwareImage::kEepromSize - 1; k > top; --k)
        if (img.eeprom(k) != "FF") {
            top = k;
            break;
        }
    if (top >= 0) {
        const int base = 2 * eepromLocation(img);
        std::string data;
        int start = 0;
        for (int k = 0; k <= top; ++k) {
            if (k - start == 8) {
                if (!b.emit(base + 2 * start, data))
                    return false;
                data.clear();
                start = k;
            }
            data += img.get_Hex_EE(k) + "00";
        }
        if (!data.empty() && !b.emit(base + 2 * start, data))
            return false;
    }

    b.lines().emplace_back(":00000001FF");
    out = std::move(b.lines());
    return true;
}

} // namespace

std::string CalcChecksum(const std::string& body, Prompter& prompter)
{
    if (body.size() % 2 != 0 || !isHexDigits(body)) {
        prompter.tell(MsgKind::Warning, "Problem bei der Checksummen-Berechnung", Buttons::Cancel);
        return "error";
    }
    unsigned sum = 0;
    for (std::size_t i = 0; i + 1 < body.size(); i += 2)
        sum += static_cast<unsigned>(HexByteValue(std::string_view(body).substr(i, 2)));
    const unsigned c = (256u - sum % 256u) % 256u;
    return HexByteTexts()[c];
}

int BuildHexLines(FirmwareImage& img)
{
    img.clearLines();
    img.LineCount = 0;
    std::vector<std::string> lines;
    if (!buildLines(img, lines))
        return 0;
    // The writer never reaches the capacity of HexString (at most 0x20FE program bytes), but
    // the count is bounded all the same.
    const int count = static_cast<int>(std::min<std::size_t>(lines.size(), FirmwareImage::kLineCapacity));
    for (int i = 0; i < count; ++i)
        img.set_HexString(i, lines[static_cast<std::size_t>(i)]);
    img.LineCount = count;
    return count;
}

std::vector<std::string> builtLines(const FirmwareImage& img)
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(img.LineCount));
    for (int i = 0; i < img.LineCount && i < FirmwareImage::kLineCapacity; ++i)
        lines.push_back(img.get_HexString(i));
    return lines;
}

bool writeLinesAtomically(const std::string& path, const std::vector<std::string>& lines, std::string* error)
{
    auto failWith = [&](const std::string& what) {
        if (error)
            *error = what;
        return false;
    };
    std::string content;
    for (const auto& l : lines) {
        content += l;
        content += "\r\n";
    }

    const std::size_t slash = path.find_last_of('/');
    struct stat st{};
    if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
        return failWith("Es ist ein Ordner.");

    std::string tmpl = (slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1)) + ".hexzwirbel-XXXXXX";
    std::vector<char> name(tmpl.begin(), tmpl.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0)
        return failWith(std::strerror(errno));
    const std::string tmp(name.data());

    // Keep the permissions of a file that is replaced; a new file gets the usual 0644 minus umask.
    mode_t mode = 0644;
    if (stat(path.c_str(), &st) == 0)
        mode = st.st_mode & 07777;
    else {
        const mode_t mask = umask(0);
        umask(mask);
        mode &= ~mask;
    }
    fchmod(fd, mode);

    std::size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const std::string why = std::strerror(errno);
            ::close(fd);
            ::unlink(tmp.c_str());
            return failWith(why);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        const std::string why = std::strerror(errno);
        ::unlink(tmp.c_str());
        return failWith(why);
    }
    if (std::rename(tmp.c_str(), path.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        ::unlink(tmp.c_str());
        return failWith(why);
    }
    return true;
}

bool WriteBuiltLines(const FirmwareImage& image, const std::string& path)
{
    std::string error;
    if (!writeLinesAtomically(path, builtLines(image), &error)) {
        image.prompter().tell(MsgKind::Error,
                              strprintf("Die Datei \"%s\" konnte nicht geschrieben werden: %s", path.c_str(),
                                        error.c_str()),
                              Buttons::Ok);
        return false;
    }
    return true;
}

bool SaveHexFile(FirmwareImage& image, const std::string& path)
{
    return BuildHexLines(image) > 0 && WriteBuiltLines(image, path);
}

} // namespace hz
