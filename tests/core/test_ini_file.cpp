#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestFiles.h"
#include "core/IniFile.h"

using hz::IniFile;
using Lines = std::vector<std::string>;

TEST(IniFile, RewriteKeepsForeignContentAndOrder)
{
    IniFile ini;
    ini.parse("; written by hand\r\n"
              "[Foreign]\r\n"
              "a=1\r\n"
              "\r\n"
              "[window]\r\n"
              "width = 600\r\n"
              "Maximized=yes\r\n"
              "\r\n"
              "[Other]\r\n"
              "b=two words\r\n");
    ini.setInteger("Raster", "x", 3);
    ini.setInteger("Raster", "y", 4);
    ini.setInteger("Window", "Width", 700);
    ini.setInteger("Window", "Top", 20);
    ini.setValue("ReloadFile", "LastFileName_HEX", "/home/müller/a b.hex");
    const Lines expected = {
        "; written by hand",
        "[Foreign]",
        "a=1",
        "",
        "[window]",
        "width=700", // changed in place, under the name the file uses
        "Maximized=yes",
        "Top=20", // new keys after the section's last key, before its blank line
        "",
        "[Other]",
        "b=two words",
        "[Raster]",
        "x=3",
        "y=4",
        "[ReloadFile]",
        "LastFileName_HEX=/home/müller/a b.hex",
    };
    EXPECT_EQ(ini.lines(), expected);
}

TEST(IniFile, ReadsNamesWithoutCaseAndValuesWithoutSurroundingBlanks)
{
    IniFile ini;
    ini.parse("top=1\n" // before any section: belongs to none
              "[WINDOW]\n"
              "  Top = 12  \n"
              "Left=-5\n"
              "Width=abc\n"
              "Height=0x10\n"
              "Depth=\n"
              "; Comment=7\n"
              "[Window]\n"
              "Left=99\n" // the first occurrence counts
              "[ReloadFile]\n"
              "LastFileName_HEX=\"  padded.hex \"\n");
    EXPECT_EQ(ini.readInteger("Window", "Top", 10), 12);
    EXPECT_EQ(ini.readInteger("window", "LEFT", 10), -5);
    EXPECT_EQ(ini.readInteger("Window", "Width", 560), 560);
    EXPECT_EQ(ini.readInteger("Window", "Height", 7), 7);
    EXPECT_EQ(ini.readInteger("Window", "Depth", 7), 7);
    EXPECT_EQ(ini.readInteger("Window", "Comment", 8), 8);
    EXPECT_EQ(ini.readInteger("Raster", "x", 0), 0);
    EXPECT_EQ(ini.readString("Window", "Depth", "none"), "");
    EXPECT_EQ(ini.readString("ReloadFile", "LastFileName_HEX", ""), "  padded.hex ");
    EXPECT_FALSE(ini.value("", "top").has_value());
}

TEST(IniFile, ValuesSurviveTheFileVerbatim)
{
    const auto dir = hz::test::tempDir("ini");
    const std::string path = (dir / "hexzwirbel.ini").string();
    const std::vector<std::string> values = {"/tmp/Weiche ä.hex", " leading", "trailing ", "\"quoted\"", "", "a=b;c"};

    IniFile out;
    for (std::size_t i = 0; i < values.size(); ++i)
        out.setValue("S", "k" + std::to_string(i), values[i]);
    std::string error;
    ASSERT_TRUE(out.save(path, &error)) << error;
    EXPECT_EQ(hz::test::readFile(path).substr(0, 5), "[S]\r\n");

    IniFile in;
    ASSERT_TRUE(in.load(path, &error)) << error;
    for (std::size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(in.readString("S", "k" + std::to_string(i), "?"), values[i]) << i;
    std::filesystem::remove_all(dir);
}

TEST(IniFile, MissingFileReadsAsEmptyAFolderDoesNot)
{
    const auto dir = hz::test::tempDir("ini");
    IniFile ini;
    ini.parse("[Old]\nx=1\n");
    std::string error;
    EXPECT_TRUE(ini.load((dir / "none.ini").string(), &error));
    EXPECT_TRUE(ini.lines().empty());
    EXPECT_EQ(ini.readInteger("Old", "x", 5), 5);

    EXPECT_FALSE(ini.load(dir.string(), &error));
    EXPECT_EQ(error, "Es ist ein Ordner");
    std::filesystem::remove_all(dir);
}

// Whatever was read, writing it and reading it again gives the same lines and values.
TEST(IniFile, ByteOrderMarksReadTheSameAfterAWrite)
{
    const std::string bom = "\xEF\xBB\xBF";
    const std::string texts[] = {
        bom + bom + "[Window]\nTop=3\n", // two marks: the header is a header only once both are gone
        bom + bom + "\n[Window]\nTop=3\n",
        bom + "\n" + bom + "[Window]\nTop=3\n", // a later mark belongs to its line
    };
    for (const std::string& text : texts) {
        IniFile first;
        first.parse(text);
        std::string written;
        for (const auto& l : first.lines())
            written += l + "\r\n";
        IniFile second;
        second.parse(written);
        EXPECT_EQ(second.lines(), first.lines());
        EXPECT_EQ(second.readInteger("Window", "Top", -1), first.readInteger("Window", "Top", -1));
    }
    IniFile twoMarks;
    twoMarks.parse(texts[0]);
    EXPECT_EQ(twoMarks.readInteger("Window", "Top", -1), 3);
}
