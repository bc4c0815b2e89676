// Every input the fuzzers found a fault with is kept below tests/fuzz/regressions/<target>/ and
// runs here through the same check as in the fuzzer, so that a fixed fault stays fixed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>

#include "FuzzChecks.h"
#include "TestFiles.h"

using namespace hz;

namespace {

namespace fs = std::filesystem;

struct Finding {
    std::string target;
    fs::path file;
};

void PrintTo(const Finding& f, std::ostream* os) { *os << f.file.string(); }

const fuzz::Target* targetNamed(const std::string& name)
{
    for (const auto& t : fuzz::targets())
        if (name == t.name)
            return &t;
    return nullptr;
}

std::vector<Finding> storedFindings()
{
    std::vector<Finding> found;
    std::error_code ec;
    for (const auto& dir : fs::directory_iterator(HZ_FUZZ_REGRESSIONS, ec))
        if (dir.is_directory())
            for (const auto& f : fs::directory_iterator(dir.path()))
                if (f.is_regular_file())
                    found.push_back({dir.path().filename().string(), f.path()});
    std::sort(found.begin(), found.end(), [](const Finding& a, const Finding& b) { return a.file < b.file; });
    return found;
}

std::string testName(const ::testing::TestParamInfo<Finding>& info)
{
    std::string name = info.param.target + "_" + info.param.file.filename().string();
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}

class FuzzReplay : public ::testing::TestWithParam<Finding> {};

} // namespace

TEST_P(FuzzReplay, StoredInputPassesItsCheck)
{
    const Finding& f = GetParam();
    const fuzz::Target* target = targetNamed(f.target);
    ASSERT_NE(target, nullptr) << f.file << " lies in a folder that names no fuzz target";
    const std::string failure = target->check(test::readFile(f.file.string()));
    EXPECT_TRUE(failure.empty()) << f.file.string() << ":\n" << failure;
}

INSTANTIATE_TEST_SUITE_P(Regressions, FuzzReplay, ::testing::ValuesIn(storedFindings()), testName);

// A wrong path or a misspelt folder would let the replay pass without running anything.
TEST(FuzzReplayFolder, ExistsAndHoldsOnlyTargetFolders)
{
    ASSERT_TRUE(fs::is_directory(HZ_FUZZ_REGRESSIONS)) << HZ_FUZZ_REGRESSIONS;
    for (const auto& entry : fs::directory_iterator(HZ_FUZZ_REGRESSIONS)) {
        EXPECT_TRUE(entry.is_directory()) << entry.path();
        EXPECT_NE(targetNamed(entry.path().filename().string()), nullptr) << entry.path();
    }
}
