// doc: the manual's pages of the decoder types, written from the catalogue - every type's rows
// with their captions, its CV list, its page and its versions - and the list linking them all.

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "CliRun.h"
#include "TestFiles.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/DocLinks.h"
#include "core/firmware/HexText.h"
#include "core/pages/register/CvLists.h"

using namespace hz;
using namespace hz::test;
namespace fs = std::filesystem;

namespace {

std::string escaped(std::string text)
{
    std::string out;
    for (char c : text)
        out += c == '<' ? std::string("&lt;") : c == '>' ? std::string("&gt;") : c == '&' ? "&amp;" : std::string(1, c);
    return out;
}

class DocPages : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new fs::path(tempDir("doc") / "typen"); // a folder that does not exist yet
        const CliRun r = runCli({"doc", "-o", dir->string()});
        ASSERT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "");
    }
    static void TearDownTestSuite()
    {
        fs::remove_all(dir->parent_path());
        delete dir;
    }
    static std::string page(const DecoderType& t) { return readFile((*dir / TypePageFile(t)).string()); }
    static fs::path* dir;
};

fs::path* DocPages::dir = nullptr;

} // namespace

TEST_F(DocPages, EveryTypeHasItsRowsAndCaptions)
{
    for (const DecoderType& t : DecoderCatalogue()) {
        const std::string p = page(t);
        ASSERT_FALSE(p.empty()) << TypePageFile(t);
        EXPECT_NE(p.find("<h1>" + escaped(t.Name) + "</h1>"), std::string::npos) << TypePageFile(t);
        int rows = 0;
        for (int r = 1; r < kAddressRows; ++r) {
            const std::string& caption = t.Captions[static_cast<std::size_t>(r)];
            if (caption.empty())
                continue;
            ++rows;
            const std::string shown = caption == " " ? "(ohne Beschriftung)" : escaped(caption);
            EXPECT_NE(p.find("<tr><td>" + std::to_string(r) + "</td><td>" + shown + "</td></tr>"), std::string::npos)
                << TypePageFile(t) << " row " << r;
        }
        // no row more than the catalogue captions
        const auto from = p.find("<h2>Adresszeilen</h2>");
        const std::string section = p.substr(from, p.find("<h2>", from + 1) - from);
        const std::regex row("<tr><td>[0-9]+</td>");
        EXPECT_EQ(std::distance(std::sregex_iterator(section.begin(), section.end(), row), std::sregex_iterator()),
                  rows)
            << TypePageFile(t);
    }
}

TEST_F(DocPages, FactsOfAType)
{
    struct Case {
        int identifier;
        std::vector<std::string> shown;
    };
    const Case cases[] = {
        {0x208,
         {"<tr><th>Kennung</th><td>0x208</td></tr>", "<tr><th>PIC</th><td>12F629/16F630</td></tr>",
          "<a href=\"../zusatz.html\">Zusatzfunktionen</a>", "<td><b>Stellino  ab V3.51</b></td>",
          "<a href=\"0x408.html\">Stellino  ab V3.61</a>", "Mot oder DCC", "rot oder grün"}},
        {0x1A4100, {"<td>0x1A4100 und 0x1B4100</td>", "Dekoder-Adresse und eine Funktions-Nummer"}},
        // the early neon firmware: its rows are function-decoder rows, as the window treats them
        {0x4000, {"keine eigene Seite", "Dekoder-Adresse und eine Funktions-Nummer"}},
        {0x67, {"<h1>Lumo - Ampel &lt; V3.40</h1>", "<title>Lumo - Ampel &lt; V3.40 - HEX Zwirbel</title>"}},
        {0xD3, {"<a href=\"../servo.html\">Servokurven und Servoadressen</a>", "1 bis 4 links"}},
        {0xDD, {"<a href=\"../led-blinkmuster.html\">LED-Blinkmuster</a>"}},
        {0x15000, {"<tr><th>PIC</th><td>16F18324</td></tr>", "immer DCC", "keine Adresszeilen"}},
    };
    for (const Case& c : cases) {
        const std::string p = page(*FindDecoderType(c.identifier));
        for (const std::string& s : c.shown)
            EXPECT_NE(p.find(s), std::string::npos) << strprintf("0x%X: ", c.identifier) << s;
    }
    // a type documented on its own has no version table
    EXPECT_EQ(page(*FindDecoderType(0x9)).find("Firmware-Versionen"), std::string::npos);
}

TEST_F(DocPages, CvListOfTheRegisterTypes)
{
    for (int id : {kIdFDecoderCv, kIdForsta18324, kIdKnipso18324}) {
        const std::string p = page(*FindDecoderType(id));
        const std::vector<CvEntry>& cvs = CvListFor(id);
        ASSERT_FALSE(cvs.empty());
        std::size_t at = p.find("<h2>CV-Liste</h2>");
        ASSERT_NE(at, std::string::npos);
        for (const CvEntry& cv : cvs) { // in the page's order
            at = p.find("<tr><td>" + escaped(cv.caption) + "</td><td>" + strprintf("0x%02X", cv.address) + "</td>", at);
            ASSERT_NE(at, std::string::npos) << strprintf("0x%X: ", id) << cv.caption;
        }
    }
    EXPECT_EQ(page(*FindDecoderType(0x208)).find("CV-Liste"), std::string::npos);
}

TEST_F(DocPages, ListLinksEveryTypeAndEveryLinkLeadsToAPage)
{
    const std::string list = readFile((*dir / kManualIndex).string());
    for (const DecoderType& t : DecoderCatalogue())
        EXPECT_NE(list.find("<a href=\"" + TypePageFile(t) + "\">" + escaped(t.Name) + "</a>"), std::string::npos)
            << t.Name;
    // links within the folder lead to pages that are there (those into the manual are checked
    // with the installed manual)
    std::set<std::string> files;
    for (const auto& e : fs::directory_iterator(*dir))
        files.insert(e.path().filename().string());
    EXPECT_EQ(files.size(), DecoderCatalogue().size() + 1);
    const std::regex href("href=\"([^\"]*)\"");
    for (const std::string& name : files) {
        const std::string p = readFile((*dir / name).string());
        for (std::sregex_iterator m(p.begin(), p.end(), href), end; m != end; ++m) {
            const std::string target = (*m)[1];
            if (target.rfind("../", 0) != 0) {
                EXPECT_TRUE(files.count(target)) << name << " -> " << target;
            }
        }
    }
}

TEST(DocCommand, Refusals)
{
    const fs::path dir = tempDir("doc-refused");
    writeFile((dir / "datei").string(), "x");
    CliRun r = runCli({"doc", "-o", (dir / "datei").string()}); // a file where the folder should be
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("hexzwirbel-cli: " + (dir / "datei").string() + ": Fehler: "), std::string::npos) << r.err;
    EXPECT_EQ(readFile((dir / "datei").string()), "x");
    r = runCli({"doc"});
    EXPECT_EQ(r.code, 2);
    r = runCli({"doc", "-o", "-"});
    EXPECT_EQ(r.code, 2);
    fs::remove_all(dir);
}
