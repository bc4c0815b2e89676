// Where the documentation links lead: the base address of a documentation site joined with a
// type's page name, or the local manual's pages; and where the manual is found beside the
// program.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "TestFiles.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/DocLinks.h"

using hz::DocAddress;
using hz::DocSite;
using hz::FindDecoderType;

TEST(DocLinks, Addresses)
{
    const hz::DecoderType* stellino = FindDecoderType(0x208);   // page "stellino.html"
    const hz::DecoderType* turntable = FindDecoderType(0x30FF); // on the site's start page
    const hz::DecoderType* neon = FindDecoderType(0x1B4100);    // second identifier of 0x1A4100
    ASSERT_TRUE(stellino && turntable && neon);
    struct Case {
        DocSite site;
        const hz::DecoderType* type;
        const char* address;
    };
    const Case cases[] = {
        // a site: page names joined with exactly one "/", the program and start-page types at
        // the base as written
        {{"https://example.net/doku", ""}, stellino, "https://example.net/doku/stellino.html"},
        {{"https://example.net/doku/", "/m"}, stellino, "https://example.net/doku/stellino.html"},
        {{"https://example.net/doku", ""}, nullptr, "https://example.net/doku"},
        {{"https://example.net/doku/", ""}, turntable, "https://example.net/doku/"},
        {{"file:///home/ich/doku", ""}, neon, "file:///home/ich/doku/f-dekoder-neon.html"},
        // no site: the generated page of the type itself, named after its first identifier
        {{"", "/usr/share/hexzwirbel/handbuch"}, stellino, "/usr/share/hexzwirbel/handbuch/typen/0x208.html"},
        {{"", "/usr/share/hexzwirbel/handbuch/"}, turntable, "/usr/share/hexzwirbel/handbuch/typen/0x30FF.html"},
        {{"", "/usr/share/hexzwirbel/handbuch"}, neon, "/usr/share/hexzwirbel/handbuch/typen/0x1A4100.html"},
        {{"", "/usr/share/hexzwirbel/handbuch"}, nullptr, "/usr/share/hexzwirbel/handbuch/index.html"},
        // no manual folder known: relative to the manual
        {{"", ""}, stellino, "typen/0x208.html"},
        {{"", ""}, nullptr, "index.html"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DocAddress(c.site, c.type), c.address) << c.site.base << " | " << c.site.manual;
}

// What the documentation button says: a local page by what it is about, a site's address as it
// is; and whether its hint speaks of this computer or of the web site.
TEST(DocLinks, ButtonCaptionAndHint)
{
    const hz::DecoderType* stellino = FindDecoderType(0x208); // "Stellino  ab V3.51"
    ASSERT_TRUE(stellino);
    const DocSite local{"", "/usr/share/hexzwirbel/handbuch"};
    const DocSite site{"https://example.net/doku", ""};
    struct Case {
        DocSite site;
        const hz::DecoderType* type;
        const char* caption;
        const char* hintPart;
    } cases[] = {
        {local, stellino, "Handbuch: Stellino ab V3.51", "Seite des Handbuchs zu diesem Decoder-Typ"},
        {local, nullptr, "Handbuch", "das Handbuch von HEX Zwirbel"},
        {site, stellino, "https://example.net/doku/stellino.html", "Gehe auf die WebSite zu dieser Software-Variante"},
        {site, nullptr, "https://example.net/doku", "Gehe auf die WebSite zu dieser Software-Variante"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(hz::DocLinkCaption(c.site, c.type), c.caption);
        const std::string hint = hz::DocLinkHint(c.site, c.type);
        EXPECT_NE(hint.find(c.hintPart), std::string::npos) << hint;
        EXPECT_EQ(hint.find("diesem Rechner") != std::string::npos, c.site.base.empty()) << hint;
    }
}

TEST(DocLinks, DataFolderBesideTheProgram)
{
    namespace fs = std::filesystem;
    const fs::path root = hz::test::tempDir("datafolder");
    auto manualIn = [](const fs::path& prefix) {
        fs::create_directories(prefix / "share/hexzwirbel/handbuch");
        hz::test::writeFile((prefix / "share/hexzwirbel/handbuch/index.html").string(), "<html></html>");
        return (prefix / "share/hexzwirbel").string();
    };
    // installed under a prefix: bin/ and share/ side by side
    const std::string installed = manualIn(root / "usr");
    EXPECT_EQ(hz::FindDataFolder((root / "usr/bin/hexzwirbel").string()), installed);
    // the build tree: the programs lie one or two folders deeper than the data
    const std::string build = manualIn(root / "build");
    EXPECT_EQ(hz::FindDataFolder((root / "build/src/gui/hexzwirbel").string()), build);
    EXPECT_EQ(hz::FindDataFolder((root / "build/tests/gui/tst_x").string()), build);
    // the installed layout comes first where both would fit
    manualIn(root / "build/src");
    EXPECT_EQ(hz::FindDataFolder((root / "build/src/gui/hexzwirbel").string()),
              (root / "build/src/share/hexzwirbel").string());
    // a data folder without the manual's index does not count; nothing found: empty
    fs::create_directories(root / "bare/share/hexzwirbel/handbuch");
    EXPECT_EQ(hz::FindDataFolder((root / "bare/bin/hexzwirbel").string()), "");
    EXPECT_EQ(hz::FindDataFolder(""), "");
    fs::remove_all(root);
}
