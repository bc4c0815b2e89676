#pragma once
// Where the documentation of the program and of a decoder type is read.
//
// The program comes with a German manual in HTML: the folder "handbuch" of its data folder,
// with one page per decoder type in "handbuch/typen" that hexzwirbel-cli writes from this
// catalogue while the program is built, so that a type page always says what the program does
// with the type. A documentation site on the web can take the manual's place; its base address
// is a setting of the window (empty: the manual).
//
// With a base address, the web button leads to the type's page name (DecoderType::DocPage)
// under the base, joined with one "/" ("https://example.net/doku" and "stellino.html" give
// "https://example.net/doku/stellino.html"); the program itself, and the types documented on
// the site's start page, lead to the base address as it is written. Without one, a type leads
// to its own generated page, the program to the manual's index.

#include <string>

#include "core/catalogue/Catalogue.h"

namespace hz {

// The manual's place in the data folder, its first page, and the folder of the type pages in
// it.
inline constexpr const char* kManualFolder = "handbuch";
inline constexpr const char* kManualIndex = "index.html";
inline constexpr const char* kTypePagesFolder = "typen";

struct DocSite {
    std::string base;   // address of the documentation site; empty for the local manual
    std::string manual; // folder of the local manual; empty when none was found
};

// File name of the generated page of `type`, after its first identifier as hexzwirbel-cli
// types lists it: "0x208.html", "0x1A4100.html".
std::string TypePageFile(const DecoderType& type);

// The address the documentation link of `type` leads to; nullptr stands for the program
// itself. A local page is a file path (relative to the manual when the site knows no manual
// folder); an address on the site is the base's text joined with the page name.
std::string DocAddress(const DocSite& site, const DecoderType* type);

// What the documentation button says: a page of the local manual by what it is about
// ("Handbuch: Stellino ab V3.51", "Handbuch" for the manual's index), an address on a
// documentation site as it is written.
std::string DocLinkCaption(const DocSite& site, const DecoderType* type);
// The button's hint: where its page opens.
std::string DocLinkHint(const DocSite& site, const DecoderType* type);

// The program's data folder ("share/hexzwirbel", which holds the manual) for the program file
// `exePath`: the first of exe/../share/hexzwirbel (installed under a prefix: /usr/bin and
// /usr/share), exe/../../share/hexzwirbel and exe/../../../share/hexzwirbel (the build tree,
// whose programs lie one or two folders deeper than the data the build writes) that holds the
// manual's index. Empty when none does.
std::string FindDataFolder(const std::string& exePath);

} // namespace hz
