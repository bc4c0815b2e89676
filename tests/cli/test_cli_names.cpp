// File names on the terminal: a name is shown, never obeyed. Control characters in it are
// escaped ("\x1B"), bytes that are not UTF-8 shown as U+FFFD, wherever the tool puts the name:
// the prefix of a message, the core's messages, the text reports, the web pages. A name of
// plain UTF-8 stays exactly as it is. And a message of several lines goes on in indented lines,
// so that every message starts with "hexzwirbel-cli: ".

#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "JsonCheck.h"
#include "TestFiles.h"
#include "core/Utf8Text.h"
#include "core/tools/SettingsSheet.h"

using namespace hz::test;
namespace fs = std::filesystem;

namespace {

const std::string kTurnout = fixture("classic_629_turnout.hex");

// Nothing in `text` can steer a terminal or fake a line of a message: valid UTF-8, no control
// character but the line ends, and every line of a message starts with the tool's name or is
// a further line of the message before it.
void expectSafeStderr(const std::string& text)
{
    EXPECT_TRUE(hz::IsUtf8(text)) << text;
    for (const char c : text)
        EXPECT_FALSE((static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F) << text;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        const std::string line = text.substr(at, end - at);
        EXPECT_TRUE(line.rfind("hexzwirbel-cli: ", 0) == 0 || (at > 0 && line.rfind("  ", 0) == 0 && line.size() > 2))
            << "[" << line << "] in\n"
            << text;
        at = end == std::string::npos ? text.size() : end + 1;
    }
}

void expectSafeText(const std::string& text)
{
    EXPECT_TRUE(hz::IsUtf8(text)) << text;
    for (const char c : text)
        EXPECT_FALSE((static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\r') || c == 0x7F) << text;
}

using hz::tools::HtmlEscaped;

struct NameCase {
    std::string name;  // as the file is called
    std::string shown; // as the tool shows it
};

const NameCase kNames[] = {
    {"esc\x1B[2J.hex", "esc\\x1B[2J.hex"},
    {"zwei\nhexzwirbel-cli: Zeilen.hex", "zwei\\x0Ahexzwirbel-cli: Zeilen.hex"},
    {"mit\tTab.hex", "mit\\x09Tab.hex"},
    {"Wei\xFF"
     "che.hex",
     "Wei\xEF\xBF\xBD"
     "che.hex"},
    {"Wei\xC3\xA4"
     "che <1> & 2.hex",
     "Wei\xC3\xA4"
     "che <1> & 2.hex"}, // plain UTF-8: as it is
};

} // namespace

TEST(CliNames, EveryNameIsShownNotObeyed)
{
    const auto dir = tempDir("cli-names");
    const std::string folder = dir.string() + "/";
    for (const NameCase& c : kNames) {
        SCOPED_TRACE(c.shown);
        const std::string file = folder + c.name, shown = folder + c.shown;
        fs::copy_file(kTurnout, file);

        // the prefix and the core's message, of a file that is not there
        const CliRun missing = runCli({"info", file + ".fehlt"});
        EXPECT_EQ(missing.code, 1);
        EXPECT_TRUE(has(missing.err, "hexzwirbel-cli: " + shown + ".fehlt: Fehler: Die Datei \"" + shown +
                                         ".fehlt\" kann nicht geöffnet werden: Datei oder Ordner nicht gefunden.\n"))
            << missing.err;
        expectSafeStderr(missing.err);
        // a write that fails
        const CliRun unwritten = runCli({"convert", file, "-o", folder + "fehlt/" + c.name});
        EXPECT_EQ(unwritten.code, 1);
        EXPECT_TRUE(has(unwritten.err, "hexzwirbel-cli: " + folder + "fehlt/" + c.shown + ": Fehler: Die Datei \"" +
                                           folder + "fehlt/" + c.shown + "\" konnte nicht geschrieben werden"))
            << unwritten.err;
        expectSafeStderr(unwritten.err);

        // the text reports
        const CliRun info = runCli({"info", file});
        EXPECT_TRUE(has(info.out, "Datei:      " + shown + "\n")) << info.out;
        expectSafeText(info.out);
        const CliRun diff = runCli({"diff", file, file});
        EXPECT_EQ(diff.code, 0) << diff.err;
        EXPECT_TRUE(has(diff.out, "A: " + shown + ": ") && has(diff.out, "B: " + shown + ": ")) << diff.out;
        expectSafeText(diff.out);
        const CliRun compare = runCli({"compare", file, file});
        EXPECT_EQ(compare.code, 0) << compare.err;
        EXPECT_TRUE(has(compare.out, "File 1 = " + shown + "\nFile 2 = " + shown + "\n")) << compare.out;
        const CliRun series = runCli({"series", file, "-o", folder + "s{n}-" + c.name, "--count", "2"});
        EXPECT_EQ(series.code, 0) << series.err;
        EXPECT_EQ(series.out, folder + "s1-" + c.shown + "\n" + folder + "s2-" + c.shown + "\n");
        EXPECT_TRUE(fs::exists(folder + "s2-" + c.name)); // written under its own name
        const CliRun sheet = runCli({"sheet", file});
        EXPECT_EQ(sheet.code, 0) << sheet.err;
        EXPECT_TRUE(has(sheet.out, "<tr><th>Datei</th><td>" + HtmlEscaped(shown) + "</td></tr>")) << sheet.out;
        expectSafeText(sheet.out);

        // JSON has its own escaping and keeps the name: valid JSON, no raw control character
        const CliRun json = runCli({"info", file, "--json"});
        EXPECT_TRUE(isJson(json.out)) << json.out;
        expectSafeText(json.out);
        if (hz::IsUtf8(c.name) && c.name != c.shown) {
            EXPECT_FALSE(has(json.out, c.shown)) << "JSON escapes the name its own way: " << json.out;
        }
    }
    EXPECT_TRUE(has(runCli({"info", folder + kNames[4].name, "--json"}).out,
                    "\"file\": \"" + folder + kNames[4].name + "\",\n"));

    // the layout overview: text, table and web page
    const CliRun text = runCli({"overview", folder});
    const CliRun csv = runCli({"overview", folder, "--csv"});
    const CliRun html = runCli({"overview", folder, "--html", "-"});
    for (const NameCase& c : kNames) {
        SCOPED_TRACE(c.shown);
        EXPECT_TRUE(has("\n" + text.out, "\n" + folder + c.shown + "\n")) << text.out;
        EXPECT_TRUE(has(csv.out, "\r\n" + folder + c.shown + ";")) << csv.out;
        EXPECT_TRUE(has(html.out, "<td>" + HtmlEscaped(folder + c.shown) + "</td>")) << html.out;
    }
    for (const CliRun* r : {&text, &csv, &html}) {
        expectSafeText(r->out);
        expectSafeStderr(r->err);
    }
    fs::remove_all(dir);
}

// The same through the real program: what reaches its stderr, byte for byte.
TEST(CliNames, TheProcessPrintsNoControlCharacterOfAName)
{
    const auto dir = tempDir("cli-names-process");
    const std::string err = (dir / "err.txt").string();
    for (const NameCase& c : kNames) {
        SCOPED_TRACE(c.shown);
        const std::string missing = dir.string() + "/" + c.name;
        EXPECT_EQ(shell(std::string("'") + HZ_CLI_EXE + "' info '" + missing + "' 2>'" + err + "'"), 1);
        const std::string printed = readFile(err);
        EXPECT_EQ(printed, "hexzwirbel-cli: " + dir.string() + "/" + c.shown + ": Fehler: Die Datei \"" + dir.string() +
                               "/" + c.shown + "\" kann nicht geöffnet werden: Datei oder Ordner nicht gefunden.\n");
        expectSafeStderr(printed);
    }
    fs::remove_all(dir);
}

// A message of several lines: its further lines indented by two spaces, its empty lines left
// out; the usage errors that repeat an argument show it as a name is shown.
TEST(CliNames, MessagesOfSeveralLinesStayOneMessage)
{
    // a line the reader stops at: the message quotes it, then an empty line, then its fields
    const CliRun stopped = runCliWithInput({"info", "-"}, ":0000000AF6\r\n:00000001FF\r\n");
    EXPECT_EQ(stopped.code, 1);
    EXPECT_TRUE(has(stopped.err, "hexzwirbel-cli: (stdin): Hinweis: E206: Unerwartete Zeile im File:\n"
                                 "  :0000000AF6\n"
                                 "  RECLEN (Identifier 1): 00\n"
                                 "  LOAD OFFSET (Identifier 2): 00 00\n"
                                 "  RECTYP (Identifier 3): 0A\n"
                                 "  Zeile 1 der Datei\n"))
        << stopped.err;
    expectSafeStderr(stopped.err);

    const CliRun unknown = runCli({"info\x1B[2J"});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_EQ(unknown.err, "hexzwirbel-cli: Fehler: Unbekannter Befehl: info\\x1B[2J. Hilfe: hexzwirbel-cli --help\n");
    const CliRun option = runCli({"info", kTurnout, "--x\nhexzwirbel-cli: y"});
    EXPECT_EQ(option.code, 2);
    EXPECT_EQ(option.err, "hexzwirbel-cli: info: Fehler: Unbekannte Option --x\\x0Ahexzwirbel-cli: y. Hilfe: "
                          "hexzwirbel-cli help info\n");
}
