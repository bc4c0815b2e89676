// The layout overview: finding the firmware files of a folder, loading them in parallel, and
// the rule for addresses two rows answer to.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>

#include "TestFiles.h"
#include "core/Utf8Text.h"
#include "core/tools/LayoutReport.h"
#include "core/tools/LayoutScan.h"

namespace fs = std::filesystem;
using namespace hz::tools;

namespace {

const std::string kLayout = std::string(HZ_FIXTURE_DIR) + "/layout";

const ScannedDecoder* decoderNamed(const LayoutScan& scan, const std::string& file)
{
    for (const ScannedDecoder& d : scan.decoders)
        if (d.file == file)
            return &d;
    return nullptr;
}

const ScannedRow& rowOf(const ScannedDecoder& d, int row)
{
    return *std::find_if(d.rows.begin(), d.rows.end(), [&](const ScannedRow& r) { return r.row == row; });
}

std::string reasonFor(const LayoutScan& scan, const std::string& file)
{
    for (const ScanError& e : scan.errors)
        if (e.file == file)
            return e.reason;
    return "(nicht gemeldet)";
}

// A copy of the fixture layout, to add bad input to.
fs::path layoutCopy(const std::string& tag)
{
    const fs::path dir = hz::test::tempDir(tag);
    for (const auto& e : fs::directory_iterator(kLayout))
        fs::copy_file(e.path(), dir / e.path().filename());
    return dir;
}

} // namespace

TEST(LayoutScan, FixtureLayoutFindsTheDoubleUsesAndNothingElse)
{
    const LayoutScan scan = ScanLayout({kLayout});
    EXPECT_FALSE(scan.failed);
    EXPECT_TRUE(scan.errors.empty());
    ASSERT_EQ(scan.decoders.size(), 4u);
    // Sorted by name.
    EXPECT_EQ(scan.decoders[0].file, kLayout + "/neon_funktion.hex");
    EXPECT_EQ(scan.decoders[3].file, kLayout + "/weiche_b.hex");

    const ScannedDecoder& relais = *decoderNamed(scan, kLayout + "/relais_dcc.hex");
    EXPECT_EQ(relais.type, "Relaisdekoder 8");
    EXPECT_EQ(relais.version, "3.61");
    EXPECT_EQ(relais.pic, 684);
    EXPECT_EQ(relais.format, "DCC");
    // DCC 17 red is another command than Motorola 17 red, and 17 green the other half.
    EXPECT_EQ(rowOf(relais, 1).space, AddressSpace::DccAccessory);
    EXPECT_EQ(rowOf(relais, 1).address, 17);
    EXPECT_FALSE(rowOf(relais, 1).doubleUse);
    EXPECT_FALSE(rowOf(relais, 2).doubleUse);
    // Address 0 (unused, seven rows here) and a code that is no address hold no address.
    EXPECT_FALSE(rowOf(relais, 3).space);
    EXPECT_EQ(rowOf(relais, 4).addressText, "");
    EXPECT_FALSE(rowOf(relais, 4).space);
    EXPECT_FALSE(relais.messages.empty()); // "Ungültige Adresse für <Ausgang / Out 4> ..."

    // The function decoder's 17/1 is no accessory address 17.
    const ScannedDecoder& neon = *decoderNamed(scan, kLayout + "/neon_funktion.hex");
    EXPECT_EQ(rowOf(neon, 1).space, AddressSpace::MotFunction);
    EXPECT_FALSE(rowOf(neon, 1).doubleUse);

    ASSERT_EQ(scan.doubleUses.size(), 2u);
    const DoubleUse& accessory = scan.doubleUses[0];
    EXPECT_EQ(accessory.space, AddressSpace::MotAccessory);
    EXPECT_EQ(accessory.address, 17);
    EXPECT_EQ(accessory.state, "red");
    ASSERT_EQ(accessory.uses.size(), 2u);
    EXPECT_EQ(accessory.uses[0].file, kLayout + "/weiche_a.hex");
    EXPECT_EQ(accessory.uses[1].file, kLayout + "/weiche_b.hex");
    EXPECT_EQ(accessory.uses[1].caption, "Weiche");
    EXPECT_EQ(CommandText(accessory), "Mot-Zubehör 17 rot");
    // Within one file too: rows 2 and 5 of the neon decoder answer 5 F1.
    const DoubleUse& function = scan.doubleUses[1];
    EXPECT_EQ(CommandText(function), "Mot-Funktion 5 F1");
    ASSERT_EQ(function.uses.size(), 2u);
    EXPECT_EQ(function.uses[0].row, 2);
    EXPECT_EQ(function.uses[1].row, 5);
    EXPECT_EQ(function.uses[1].caption, "Hell-Dunkel");
}

TEST(LayoutScan, DoubleUseRule)
{
    struct Case {
        const char* what;
        AddressSpace spaceA;
        int addressA;
        const char* stateA;
        int functionA;
        AddressSpace spaceB;
        int addressB;
        const char* stateB;
        int functionB;
        bool clash;
    };
    const AddressSpace MA = AddressSpace::MotAccessory, DA = AddressSpace::DccAccessory, MF = AddressSpace::MotFunction,
                       DF = AddressSpace::DccFunction, LS = AddressSpace::DccLocoShort, LL = AddressSpace::DccLocoLong;
    const Case cases[] = {
        {"same accessory command", DA, 5, "green", 0, DA, 5, "green", 0, true},
        {"other half of the pair", DA, 5, "green", 0, DA, 5, "red", 0, false},
        {"other address", DA, 5, "green", 0, DA, 6, "green", 0, false},
        {"Mot and DCC at one number", MA, 5, "red", 0, DA, 5, "red", 0, false},
        {"function and accessory", MF, 5, "", 1, MA, 5, "red", 0, false},
        {"function and accessory in DCC", DF, 5, "", 1, DA, 5, "red", 0, false},
        {"same function command", DF, 300, "", 2, DF, 300, "", 2, true},
        {"other function number", MF, 5, "", 1, MF, 5, "", 2, false},
        {"Mot and DCC function decoders", MF, 5, "", 1, DF, 5, "", 1, false},
        // CV decoders answer as a whole to their locomotive address
        {"two CV decoders on short address 3", LS, 3, "", 0, LS, 3, "", 0, true},
        {"two CV decoders on long address 1234", LL, 1234, "", 0, LL, 1234, "", 0, true},
        {"short 3 and long 3 are two addresses", LS, 3, "", 0, LL, 3, "", 0, false},
        {"CV decoder and function-decoder row", LS, 3, "", 0, DF, 3, "", 0, false},
    };
    for (const Case& c : cases) {
        std::vector<ScannedDecoder> decoders(2);
        auto fill = [](ScannedDecoder& d, const char* file, AddressSpace space, int address, const char* state,
                       int function) {
            d.file = file;
            ScannedRow row;
            row.row = 1;
            row.caption = "A";
            row.address = address;
            row.state = state;
            if (function)
                row.function = function;
            row.space = space;
            d.rows.push_back(row);
        };
        fill(decoders[0], "a.hex", c.spaceA, c.addressA, c.stateA, c.functionA);
        fill(decoders[1], "b.hex", c.spaceB, c.addressB, c.stateB, c.functionB);
        // A row that holds no address never takes part.
        ScannedRow empty;
        empty.row = 2;
        empty.address = 0;
        decoders[0].rows.push_back(empty);
        decoders[1].rows.push_back(empty);
        const std::vector<DoubleUse> uses = FindDoubleUses(decoders);
        EXPECT_EQ(uses.size(), c.clash ? 1u : 0u) << c.what;
        EXPECT_EQ(decoders[0].rows[0].doubleUse, c.clash) << c.what;
        EXPECT_FALSE(decoders[0].rows[1].doubleUse) << c.what;
    }
}

TEST(LayoutScan, BadInputIsListedAndTheScanGoesOn)
{
    const fs::path dir = layoutCopy("layout-bad");
    const std::string d = dir.string();
    // A folder named like a firmware file: its files count, the name is pointed out.
    fs::create_directory(dir / "ordner.hex");
    fs::copy_file(kLayout + "/weiche_a.hex", dir / "ordner.hex" / "innen.hex");
    // Links that go round in circles: two file links, and a folder link back up.
    fs::create_symlink("b.hex", dir / "a.hex");
    fs::create_symlink("a.hex", dir / "b.hex");
    fs::create_symlink("..", dir / "ordner.hex" / "zurueck");
    fs::create_symlink("fehlt.hex", dir / "weg.hex");
    // 50 MB (sparse): never read.
    {
        std::ofstream big(dir / "gross.hex");
    }
    fs::resize_file(dir / "gross.hex", 50u * 1024u * 1024u);
    // A pipe would block the reader for ever.
    ASSERT_EQ(::mkfifo((d + "/pipe.hex").c_str(), 0600), 0);
    // A file that is no HEX file; a name that is not UTF-8; a hidden folder.
    hz::test::writeFile(d + "/kaputt.hex", "hallo\n");
    const std::string oddName = d + "/n\xff" + "ame.hex";
    fs::copy_file(kLayout + "/relais_dcc.hex", oddName);
    fs::create_directory(dir / ".versteckt");
    fs::copy_file(kLayout + "/weiche_a.hex", dir / ".versteckt" / "alt.hex");
    // Unreadable (the owner took the permission away; root reads it all the same).
    const bool root = ::geteuid() == 0;
    fs::copy_file(kLayout + "/weiche_b.hex", dir / "gesperrt.hex");
    fs::permissions(dir / "gesperrt.hex", fs::perms::none);

    const LayoutScan scan = ScanLayout({d});
    // What cannot be read leaves the overview incomplete; what was read and refused does not.
    EXPECT_EQ(scan.failed, !root);
    EXPECT_NE(reasonFor(scan, d + "/ordner.hex").find("Ordner"), std::string::npos);
    EXPECT_TRUE(decoderNamed(scan, d + "/ordner.hex/innen.hex"));
    EXPECT_NE(reasonFor(scan, d + "/a.hex").find("im Kreis"), std::string::npos);
    EXPECT_NE(reasonFor(scan, d + "/b.hex").find("im Kreis"), std::string::npos);
    EXPECT_NE(reasonFor(scan, d + "/ordner.hex/zurueck").find("schon durchsucht"), std::string::npos);
    EXPECT_NE(reasonFor(scan, d + "/weg.hex").find("ins Leere"), std::string::npos);
    EXPECT_NE(reasonFor(scan, d + "/gross.hex").find("52428800 Bytes"), std::string::npos);
    EXPECT_NE(reasonFor(scan, d + "/pipe.hex").find("keine gewöhnliche Datei"), std::string::npos);
    EXPECT_NE(reasonFor(scan, d + "/kaputt.hex").find("E206"), std::string::npos);
    EXPECT_TRUE(decoderNamed(scan, oddName));
    EXPECT_FALSE(decoderNamed(scan, d + "/.versteckt/alt.hex"));
    if (root)
        EXPECT_TRUE(decoderNamed(scan, d + "/gesperrt.hex"));
    else
        EXPECT_NE(reasonFor(scan, d + "/gesperrt.hex").find("Keine Berechtigung"), std::string::npos);
    // The good files are all there: the four, the one inside ordner.hex, the odd name, and
    // the locked one where root reads it.
    EXPECT_EQ(scan.decoders.size(), root ? 7u : 6u);
    // The non-UTF-8 name reaches the reports as valid UTF-8.
    const std::string csv = OverviewCsv(scan);
    EXPECT_TRUE(hz::IsUtf8(csv));
    EXPECT_NE(csv.find("n\xEF\xBF\xBD"
                       "ame.hex"),
              std::string::npos);
    EXPECT_TRUE(hz::IsUtf8(OverviewHtml(scan)));
    fs::permissions(dir / "gesperrt.hex", fs::perms::owner_all);
    fs::remove_all(dir);
}

TEST(LayoutScan, OperandsFilesLinksAndMissingPaths)
{
    const fs::path dir = hz::test::tempDir("layout-operands");
    const std::string d = dir.string();
    // A file named directly is taken whatever its name; the same file reached twice counts once.
    fs::copy_file(kLayout + "/weiche_a.hex", dir / "weiche.txt");
    fs::create_symlink(kLayout + "/weiche_b.hex", dir / "link.hex");
    const LayoutScan scan = ScanLayout({d + "/weiche.txt", kLayout + "/weiche_b.hex", d, d + "/fehlt"});
    EXPECT_TRUE(scan.failed); // d/fehlt does not exist
    EXPECT_NE(reasonFor(scan, d + "/fehlt").find("nicht gefunden"), std::string::npos);
    ASSERT_EQ(scan.decoders.size(), 2u);
    // (by name: where the two paths sort depends on where the build and the temp folder lie)
    EXPECT_TRUE(decoderNamed(scan, d + "/weiche.txt"));
    EXPECT_TRUE(decoderNamed(scan, kLayout + "/weiche_b.hex"));
    EXPECT_NE(reasonFor(scan, d + "/link.hex").find("Dieselbe Datei"), std::string::npos);
    // weiche_a (as weiche.txt) and weiche_b still share Motorola 17 red.
    EXPECT_EQ(scan.doubleUses.size(), 1u);
    fs::remove_all(dir);
}

TEST(LayoutScan, ParallelLoadingKeepsTheOrderAndCanBeCancelled)
{
    // Many copies, so that several threads really share the work.
    const fs::path dir = hz::test::tempDir("layout-many");
    for (int k = 0; k < 40; ++k)
        for (const auto& e : fs::directory_iterator(kLayout))
            fs::copy_file(e.path(), dir / (std::to_string(k) + "_" + e.path().filename().string()));
    const std::vector<std::string> paths{dir.string()};

    ScanControl one;
    one.threads = 1;
    ScanControl four;
    four.threads = 4;
    std::size_t calls = 0, last = 0;
    four.progress = [&](std::size_t done, std::size_t total) {
        EXPECT_EQ(total, 160u);
        EXPECT_EQ(done, last + 1);
        last = done;
        ++calls;
    };
    const LayoutScan a = ScanLayout(paths, one), b = ScanLayout(paths, four);
    EXPECT_EQ(calls, 160u);
    ASSERT_EQ(a.decoders.size(), 160u);
    ASSERT_EQ(b.decoders.size(), 160u);
    for (std::size_t k = 0; k < a.decoders.size(); ++k)
        EXPECT_EQ(a.decoders[k].file, b.decoders[k].file);
    EXPECT_EQ(OverviewCsv(a), OverviewCsv(b));
    // 40 copies: every accessory and function command of the fixture is used 40 times or more.
    EXPECT_EQ(a.doubleUses.size(), 8u);

    std::atomic<bool> cancel{false};
    ScanControl stop;
    stop.threads = 2;
    stop.cancel = &cancel;
    stop.progress = [&](std::size_t done, std::size_t) {
        if (done == 10)
            cancel = true;
    };
    const LayoutScan c = ScanLayout(paths, stop);
    EXPECT_TRUE(c.cancelled);
    EXPECT_GE(c.decoders.size(), 10u);
    EXPECT_LT(c.decoders.size(), 160u);
    fs::remove_all(dir);
}

TEST(LayoutScan, ReportsShowTheSameTable)
{
    const LayoutScan scan = ScanLayout({kLayout});
    const std::vector<OverviewLine> lines = OverviewLines(scan);
    // 5 + 9 + 2 + 2 rows.
    ASSERT_EQ(lines.size(), 18u);
    const auto doubles = std::count_if(lines.begin(), lines.end(), [](const OverviewLine& l) { return l.doubleUse; });
    EXPECT_EQ(doubles, 4);
    const OverviewLine& a = *std::find_if(lines.begin(), lines.end(), [](const OverviewLine& l) {
        return l.doubleUse && l.cells[ColCaption] == "Weiche";
    });
    EXPECT_EQ(a.cells[ColDoubleUse], "Mot-Zubehör 17 rot");
    EXPECT_EQ(a.cells[ColAlsoIn], kLayout + "/weiche_b.hex: Weiche");

    const std::string csv = OverviewCsv(scan);
    EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
              "Datei;Typ;Version;PIC;Format;Zeile;Bezeichnung;Adresse;R/G;Funktion;Doppelt belegt;Auch in;Fehler");
    EXPECT_NE(csv.find(kLayout + "/neon_funktion.hex;Stelldua/Forsta - F-Dekoder Neon ab V0.60;0.60;629;Mot;5;"
                                 "Hell-Dunkel;5;;1;Mot-Funktion 5 F1;hier: Ausgang / Out 2;\r\n"),
              std::string::npos);
    const std::string html = OverviewHtml(scan);
    std::size_t marked = 0;
    for (std::size_t at = html.find("<tr class=\"doppelt\">"); at != std::string::npos;
         at = html.find("<tr class=\"doppelt\">", at + 1))
        ++marked;
    EXPECT_EQ(marked, 4u);
    EXPECT_NE(html.find("<li><b>Mot-Zubehör 17 rot</b>"), std::string::npos);
    // Nothing from elsewhere: the page must print from a stick without a network.
    EXPECT_EQ(html.find("http"), std::string::npos);
    EXPECT_EQ(html.find("src="), std::string::npos);

    EXPECT_EQ(OneLine("E206: Zeile:\nHALLO\n\nRECLEN \r\nx"), "E206: Zeile: HALLO RECLEN x");
}

// A folder or file that cannot be read is missing from the overview: the scan says so (each
// one named and marked, `failed` set, the summary calls the overview incomplete) instead of
// reporting no double use among files it never saw. Injected, so that it holds also as root.
TEST(LayoutScan, WhatCannotBeReadMakesTheOverviewIncomplete)
{
    const fs::path dir = hz::test::tempDir("layout-unreadable");
    const std::string d = dir.string();
    fs::create_directories(dir / "anlage" / "gesperrt");
    fs::copy_file(kLayout + "/weiche_a.hex", dir / "anlage" / "a.hex");
    fs::copy_file(kLayout + "/weiche_b.hex", dir / "anlage" / "gesperrt" / "b.hex");
    fs::copy_file(kLayout + "/relais_dcc.hex", dir / "anlage" / "zu.hex");
    fs::create_symlink("fehlt.hex", dir / "anlage" / "weg.hex");
    ScanControl control;
    control.openFault = [&](const std::string& path) {
        return path == d + "/anlage/gesperrt" || path == d + "/anlage/zu.hex" ? EACCES : 0;
    };
    const LayoutScan scan = ScanLayout({d}, control);
    EXPECT_TRUE(scan.failed);
    ASSERT_EQ(scan.decoders.size(), 1u);
    EXPECT_TRUE(scan.doubleUses.empty()); // a.hex and b.hex would share Mot 17 red
    ASSERT_EQ(scan.errors.size(), 3u);
    const std::pair<std::string, std::string> unreadable[] = {
        {d + "/anlage/gesperrt", "Der Ordner kann nicht gelesen werden: Keine Berechtigung"},
        {d + "/anlage/zu.hex", "Die Datei kann nicht gelesen werden: Keine Berechtigung."},
    };
    for (const auto& [file, reason] : unreadable) {
        const auto e = std::find_if(scan.errors.begin(), scan.errors.end(),
                                    [&, f = file](const ScanError& x) { return x.file == f; });
        ASSERT_NE(e, scan.errors.end()) << file;
        EXPECT_TRUE(e->unreadable) << file;
        EXPECT_NE(e->reason.find(reason), std::string::npos) << e->reason;
    }
    // a link into nothing is pointed out, but nothing is missing for it
    EXPECT_FALSE(std::find_if(scan.errors.begin(), scan.errors.end(), [](const ScanError& x) {
                     return x.file.find("weg.hex") != std::string::npos;
                 })->unreadable);
    EXPECT_EQ(OverviewSummary(scan), "1 Datei, 1 Dekoder geladen, 0 Adressen doppelt belegt, 3 Einträge nicht "
                                     "geladen oder übersprungen, davon 2 nicht lesbar: die Übersicht ist "
                                     "unvollständig.");
    // the reports list them with their reasons
    EXPECT_NE(OverviewCsv(scan).find(d + "/anlage/gesperrt;"), std::string::npos);
    EXPECT_NE(OverviewHtml(scan).find("Die Datei kann nicht gelesen werden"), std::string::npos);
    fs::remove_all(dir);
}

// Two copies of a 16F18324 function decoder on CV1 = 3 answer the same locomotive address.
TEST(LayoutScan, CvDecodersAreCheckedByTheAddressInTheirCvs)
{
    const fs::path dir = hz::test::tempDir("layout-cv");
    const std::string d = dir.string();
    fs::copy_file(hz::test::fixture("f18324_function.hex"), dir / "licht1.hex");
    fs::copy_file(hz::test::fixture("f18324_function.hex"), dir / "licht2.hex");
    const LayoutScan scan = ScanLayout({d});
    ASSERT_EQ(scan.decoders.size(), 2u);
    for (const ScannedDecoder& dec : scan.decoders) {
        EXPECT_EQ(dec.unchecked, "");
        ASSERT_EQ(dec.rows.size(), 1u);
        EXPECT_EQ(dec.rows[0].row, 0);
        EXPECT_EQ(dec.rows[0].caption, "Lokadresse aus CV1");
        EXPECT_EQ(dec.rows[0].space, AddressSpace::DccLocoShort);
        EXPECT_EQ(dec.rows[0].address, 3);
        EXPECT_TRUE(dec.rows[0].doubleUse);
    }
    ASSERT_EQ(scan.doubleUses.size(), 1u);
    EXPECT_EQ(CommandText(scan.doubleUses[0]), "DCC-Lok kurz 3");
    EXPECT_EQ(UsePlace(scan.doubleUses[0].uses[0]), "Lokadresse aus CV1");
    const std::vector<OverviewLine> lines = OverviewLines(scan);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].cells[ColRow], "");
    EXPECT_EQ(lines[0].cells[ColAddress], "3");
    EXPECT_EQ(lines[0].cells[ColDoubleUse], "DCC-Lok kurz 3");
    EXPECT_EQ(lines[0].cells[ColAlsoIn], d + "/licht2.hex: Lokadresse aus CV1");
    fs::remove_all(dir);
}
