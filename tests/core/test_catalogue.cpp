#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/catalogue/Catalogue.h"

using hz::DecoderCatalogue;
using hz::DecoderType;
using hz::FindDecoderType;
using hz::FindPic;

namespace {

const DecoderType& Entry(int identifier)
{
    const DecoderType* t = FindDecoderType(identifier);
    if (t == nullptr)
        throw std::runtime_error("no catalogue entry " + std::to_string(identifier));
    return *t;
}

std::string Hex(int v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", static_cast<unsigned>(v));
    return buf;
}

} // namespace

TEST(Catalogue, HasEightyEightEntriesWithUniqueIdentifiers)
{
    const auto& all = DecoderCatalogue();
    ASSERT_EQ(all.size(), 88u);
    std::set<int> seen;
    for (const DecoderType& t : all) {
        std::vector<int> ids{t.Identifier};
        if (t.Identifier2 != 0)
            ids.push_back(t.Identifier2);
        for (int id : ids) {
            SCOPED_TRACE(Hex(id));
            EXPECT_GE(id, 0x1);
            EXPECT_LE(id, 0xFFFFFF);
            EXPECT_TRUE(seen.insert(id).second) << "identifier used twice";
            EXPECT_EQ(FindDecoderType(id), &t);
        }
    }
    EXPECT_EQ(seen.size(), 91u); // three entries answer to a second identifier
}

// Only exact identifiers match: a second identifier leads to its entry, anything else to none.
TEST(Catalogue, FindDecoderTypeMatchesExactIdentifiersOnly)
{
    struct Case {
        int query;
        int entry; // Identifier of the expected entry, 0 for none
    } cases[] = {
        {0x101, 0x1},
        {0x1, 0x1},
        {0x1B4100, 0x1A4100},
        {0x2B4100, 0x2A4100},
        {0x1A4100, 0x1A4100},
        {0x208, 0x208},
        {0x402, 0},
        {0x408, 0x408},
        {0x0, 0},
        {-1, 0},
        {0x3B4100, 0},
        {0x1000008, 0},
        {0x201, 0},
        {0x30FF, 0x30FF},
        {0x17E800, 0x17E800},
        {0x15000, 0x15000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Hex(c.query));
        const DecoderType* t = FindDecoderType(c.query);
        if (c.entry == 0)
            EXPECT_EQ(t, nullptr);
        else {
            ASSERT_NE(t, nullptr);
            EXPECT_EQ(t->Identifier, c.entry);
        }
    }
}

TEST(Catalogue, NamesAreExact)
{
    struct Case {
        int id;
        const char* name;
    } cases[] = {
        {0x8, "Stellino"},
        {0x208, "Stellino  ab V3.51"},
        {0x408, "Stellino  ab V3.61"},
        {0x20A, "Stelldua ab V3.51"},
        {0x202, "Stelldua - Spur 1  ab V3.51"},
        {0x302, "Stelldua - Spur 1  ab V3.58"},
        {0x4100, "Stelldua/Forsta - F.Dekoder Neon ab V0.42"},
        {0x1B4100, "Stelldua/Forsta - F-Dekoder Neon ab V0.44"},
        {0x3E00, "Lumo - Funktionsdekoder Schalten"},
        {0x67, "Lumo - Ampel < V3.40"},
        {0xCB, "Lumo - Signal 003 - ÖBB"},
        {0xE7, "Lumo - Signal 020 - Ausfahrsignal mit fahrstrassenabhängigen Zusatzsignalen"},
        {0xEC, "Lumo - Signal 032 - SK/N: Block-, Exit signals"},
        {0x30FF, "Drehscheibe 48 Position"},
        {0x101, "Stelldua - Blinkmuster"},
        {0x14B00, "Forsta 16F18324"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Entry(c.id).Name, c.name) << Hex(c.id);
}

// A handful of entries spread over the table, each field as the firmware needs it.
TEST(Catalogue, EntryFields)
{
    enum Mode { RG, F, PO, None };
    struct Case {
        int id;
        int pic;
        int page;
        Mode mode;
        int set;
        int columnBreak;
        int gap;
    } cases[] = {
        {0x30FF, 676, hz::PageNone, RG, 1, 15, 0},
        {0x17E800, 676, hz::PageNone, RG, 2, 7, 0},
        {0x408, 629, hz::PageZusatz, RG, 3, 0, 0},
        {0x9, 629, hz::PageNone, RG, 4, 0, 0},
        {0x4400, 688, hz::PageRegister, PO, 0, 0, 0},
        {0x3D00, 629, hz::PageZusatz, F, 8, 0, 0},
        {0x3F00, 629, hz::PageNone, F, 13, 0, 0},
        {0x4000, 629, hz::PageNone, None, 15, 0, 0},
        {0x2B4100, 629, hz::PageZusatz, F, 17, 0, 0},
        {0x69, 684, hz::PageZusatz, RG, 18, 0, 8},
        {0x67, 684, hz::PageNone, RG, 25, 0, 2},
        {0x367, 684, hz::PageZusatz, RG, 25, 0, 2},
        {0xD0, 684, hz::PageNone, RG, 38, 0, 5},
        {0xE9, 684, hz::PageNone, RG, 46, 0, 8},
        {0xD3, 684, hz::PageServo, RG, 52, 4, 0},
        {0x7DD2, 684, hz::PageServo, RG, 53, 2, 0},
        {0x4200, 684, hz::PageServo, F, 54, 4, 0},
        {0x101, 684, hz::PageBlinkmuster, RG, 55, 0, 0},
        {0x1DD, 684, hz::PageBlinkmusterLed, RG, 55, 0, 0},
        {0x15000, 18324, hz::PageRegister, PO, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Hex(c.id));
        const DecoderType& t = Entry(c.id);
        EXPECT_EQ(t.PicModel, c.pic);
        EXPECT_EQ(t.Page, c.page);
        EXPECT_EQ(t.RedGreen, c.mode == RG);
        EXPECT_EQ(t.FunctionDecoder, c.mode == F);
        EXPECT_EQ(t.PageOnly, c.mode == PO);
        EXPECT_EQ(t.CaptionSet, c.set);
        EXPECT_EQ(t.ColumnBreak, c.columnBreak);
        EXPECT_EQ(t.GapAfterRow, c.gap);
    }
}

// Rules that hold across the whole table; a slip in any one line breaks one of them.
TEST(Catalogue, TableWideRules)
{
    const std::set<int> pageKinds{0, 1, 2, 3, 4, 6};
    for (const DecoderType& t : DecoderCatalogue()) {
        SCOPED_TRACE(Hex(t.Identifier));
        const int modes = int(t.RedGreen) + int(t.FunctionDecoder) + int(t.PageOnly);
        EXPECT_EQ(modes, t.Identifier == 0x4000 ? 0 : 1);
        EXPECT_EQ(t.SetsDcc, t.PicModel == 18324);
        EXPECT_NE(FindPic(t.PicModel), nullptr);
        EXPECT_TRUE(pageKinds.count(t.Page));
        EXPECT_TRUE(t.Captions[0].empty());
        bool anyCaption = false;
        for (const std::string& c : t.Captions)
            anyCaption = anyCaption || !c.empty();
        // Page-only types are exactly those without address rows.
        EXPECT_EQ(t.PageOnly, t.CaptionSet == 0);
        EXPECT_EQ(anyCaption, t.CaptionSet != 0);
    }
}

// The rows each caption set occupies, checked on every entry that uses the set: a caption
// dropped, added or shifted shows up here, and so does a short set (3, 9, 14) that spills into
// rows that must stay hidden.
TEST(Catalogue, CaptionSetsOccupyTheirRows)
{
    const std::map<int, std::pair<int, int>> rows = {
        {1, {4, 31}},  {2, {4, 19}},  {3, {1, 2}},   {4, {1, 2}},   {5, {1, 2}},   {6, {1, 3}},   {7, {1, 4}},
        {8, {1, 4}},   {9, {1, 1}},   {10, {1, 7}},  {11, {1, 2}},  {12, {1, 4}},  {13, {1, 4}},  {14, {1, 1}},
        {15, {1, 2}},  {16, {1, 5}},  {17, {1, 5}},  {18, {1, 9}},  {19, {1, 4}},  {20, {1, 10}}, {21, {1, 5}},
        {22, {1, 7}},  {23, {1, 8}},  {24, {1, 10}}, {25, {1, 4}},  {26, {1, 8}},  {27, {1, 4}},  {28, {1, 10}},
        {29, {1, 9}},  {30, {1, 12}}, {31, {1, 9}},  {32, {1, 12}}, {33, {1, 14}}, {34, {1, 8}},  {35, {1, 14}},
        {36, {1, 14}}, {37, {1, 14}}, {38, {1, 10}}, {39, {1, 8}},  {40, {1, 12}}, {41, {1, 14}}, {42, {1, 16}},
        {43, {1, 8}},  {44, {1, 10}}, {45, {1, 14}}, {46, {1, 16}}, {47, {1, 16}}, {48, {1, 16}}, {49, {1, 14}},
        {50, {1, 12}}, {51, {1, 14}}, {52, {1, 8}},  {53, {1, 4}},  {54, {1, 2}},  {55, {1, 4}},
    };
    std::set<int> used;
    for (const DecoderType& t : DecoderCatalogue()) {
        if (t.CaptionSet == 0)
            continue;
        SCOPED_TRACE(Hex(t.Identifier) + " set " + std::to_string(t.CaptionSet));
        used.insert(t.CaptionSet);
        const auto it = rows.find(t.CaptionSet);
        ASSERT_NE(it, rows.end());
        const auto [first, last] = it->second;
        for (int r = 0; r < 48; ++r)
            EXPECT_EQ(t.Captions[static_cast<std::size_t>(r)].empty(), r < first || r > last) << "row " << r;
    }
    EXPECT_EQ(used.size(), 55u);
}

TEST(Catalogue, CaptionTexts)
{
    struct Case {
        int id;
        int row;
        const char* caption;
    } cases[] = {
        // Turntables: operating keys from row 4, positions without a blank from row 8.
        {0x30FF, 4, "Licht"},
        {0x30FF, 6, "Turn (180°)"},
        {0x30FF, 7, "Drehrichtung"},
        {0x30FF, 8, "Position1"},
        {0x30FF, 17, "Position10"},
        {0x30FF, 31, "Position24"},
        {0x17E800, 8, "Position1"},
        {0x17E800, 19, "Position12"},
        // Umlauts and accents.
        {0x3, 1, "Signal 1 grün"},
        {0x67, 3, "Grün"},
        {0xD1, 1, "C - Stop Carré"},
        // Sets that differ from a neighbour in a single caption.
        {0x3D00, 3, "Ausgang / Out 3"},
        {0x13D00, 3, "Ausgang / Out 3 (FL)"},
        {0x13E00, 9, "Ausgang / Out 9 (FL)"},
        {0x2A4100, 5, "Hell-Dunkel"},
        {0x69, 9, "All"},
        {0x1CA, 11, "Vorsignal: Vr0"},
        {0xD0, 6, "Signal 2: Hp00"},
        {0xE8, 3, "Vr2 bei Weg 2"},
        // The firmware's own spelling, kept as it is.
        {0xEB, 4, "Proceed though (optional: route towards A-city)"},
        {0xEB, 16, "Sweden: Proceed w caution, next signalstop"},
        {0xEC, 6, "Signal 1: 'Dark Green' proceed"},
        {0xEE, 14, "Norway: Reduced speed"},
        {0x9, 1, "Blinken"},
        {0x2, 1, "Weichen-Adresse"},
        {0x4200, 2, "Adresse 02"},
        {0xDD, 4, "Muster 4"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Entry(c.id).Captions[static_cast<std::size_t>(c.row)], c.caption) << Hex(c.id) << " row " << c.row;
}

// The Belgian signal's rows are captioned with a single blank: shown, but unlabelled.
TEST(Catalogue, CaptionSet46IsSixteenBlanks)
{
    const DecoderType& t = Entry(0xE9);
    for (std::size_t r = 1; r <= 16; ++r)
        EXPECT_EQ(t.Captions[r], " ") << "row " << r;
    EXPECT_EQ(t.Captions[17], "");
}

// Versions of one type share a documentation page, and so do the families listed here; the
// start-page entries lead to the general page; everything else has a page of its own.
TEST(Catalogue, DocPageGroups)
{
    const std::vector<std::vector<int>> groups = {
        {0x30FF, 0x17E800, 0x7, 0x6C}, // general start page
        {0x8, 0x208, 0x308, 0x408},
        {0xA, 0x20A, 0x30A, 0x30C},
        {0x2, 0x202, 0x302},
        {0x3D00, 0x13D00},
        {0x3F00, 0x13F00},
        {0x4000, 0x4100, 0x1A4100, 0x2A4100},
        {0x65, 0x265, 0x365},
        {0x6D, 0x16D},
        {0x67, 0x167, 0x267, 0x367},
        {0x70, 0x170, 0x270},
        {0x71, 0x171},
        {0x3E00, 0x13E00},
        {0xC9, 0x1C9},
        {0xCA, 0x1CA},
        {0xD4, 0x1D4},
        {0xE7, 0x1E7},
        {0xEA, 0xEB, 0xEC, 0xED, 0xEE},
        {0xD2, 0x1D2, 0x7DD2, 0x4200},
        {0xDD, 0x1DD},
    };
    std::map<int, std::size_t> groupOf;
    for (std::size_t g = 0; g < groups.size(); ++g)
        for (int id : groups[g])
            groupOf[id] = g + 1;
    for (int id : groups[0])
        EXPECT_EQ(Entry(id).DocPage, "") << Hex(id); // the documentation site's start

    const auto& all = DecoderCatalogue();
    for (const DecoderType& a : all) {
        if (const auto g = groupOf.find(a.Identifier); g != groupOf.end() && g->second == 1)
            continue;
        // a page name under the site's base address, never an address of its own
        EXPECT_TRUE(a.DocPage.size() > 5 && a.DocPage.ends_with(".html")) << a.DocPage;
        EXPECT_EQ(a.DocPage.find_first_of("/:?# "), std::string::npos) << a.DocPage;
        for (const DecoderType& b : all) {
            if (&a == &b)
                continue;
            const bool sameGroup = groupOf.count(a.Identifier) && groupOf.count(b.Identifier) &&
                                   groupOf[a.Identifier] == groupOf[b.Identifier];
            EXPECT_EQ(a.DocPage == b.DocPage, sameGroup)
                << Hex(a.Identifier) << " and " << Hex(b.Identifier) << ": " << a.DocPage;
        }
    }
}

TEST(Catalogue, PicTable)
{
    struct Case {
        int pic;
        const char* suffix;
        std::array<const char*, 4> config;
    } cases[] = {
        {629, " (12F629/16F630)", {"CC01", "", "", ""}},
        {676, " (16F676)", {"CC01", "", "", ""}},
        {684, " (16F684)", {"CC33", "", "", ""}},
        {688, " (16F688)", {"CC33", "", "", ""}},
        {18324, " (16F18324)", {"8C17", "3C25", "FF1F", "FF3F"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pic);
        const hz::PicInfo* p = FindPic(c.pic);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->PicModel, c.pic);
        EXPECT_EQ(p->StatusSuffix, c.suffix);
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(p->DefaultConfig[i], c.config[i]) << "word " << i;
    }
    for (int unknown : {0, 630, 1824, 16684})
        EXPECT_EQ(FindPic(unknown), nullptr) << unknown;
}
