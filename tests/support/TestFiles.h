#pragma once
// Small file helpers shared by the tests.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace hz::test {

inline std::string fixture(const std::string& name) { return std::string(HZ_FIXTURE_DIR) + "/" + name; }

inline std::string readFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

inline void writeFile(const std::string& path, const std::string& content)
{
    std::ofstream f(path, std::ios::binary);
    f << content;
}

// Lines of a HEX text joined with CR LF, as our writer ends every line.
inline std::string joinCrLf(const std::vector<std::string>& lines)
{
    std::string s;
    for (const auto& l : lines)
        s += l + "\r\n";
    return s;
}

// A fresh, empty folder below the system's temporary folder.
inline std::filesystem::path tempDir(const std::string& tag)
{
    auto dir = std::filesystem::temp_directory_path() /
               ("hz-" + tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(std::rand()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

#ifdef HZ_SREC_CAT
// srec_cat reads the file as Intel HEX and fails on any malformed line or bad checksum.
inline bool srecCatAccepts(const std::string& path)
{
    const std::string cmd = std::string(HZ_SREC_CAT) + " '" + path + "' -intel -o /dev/null -intel >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}
#endif

} // namespace hz::test
