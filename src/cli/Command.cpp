#include "cli/Command.h"

#include <ostream>

#include "core/BatchPrompter.h"
#include "core/firmware/FileSet.h"
#include "core/firmware/HexText.h"

namespace hz::cli {

namespace opt {

CommandOption output(const char* value, const char* help)
{
    return {"--output", "-o", value, help, [](Options& o, const std::string& v) { o.output = v; }, false, true};
}

CommandOption json(const char* help)
{
    return {"--json", nullptr, nullptr, help, [](Options& o, const std::string&) { o.json = true; }};
}

CommandOption defaultConfig()
{
    return {"--default-config", nullptr, nullptr,
            "Fehlt der Config-Wert, den Standard-Wert des Dekoders erzeugen (statt ihn wegzulassen).",
            [](Options& o, const std::string&) { o.defaultConfig = true; }};
}

CommandOption strict(const char* help)
{
    return {"--strict", nullptr, nullptr, help, [](Options& o, const std::string&) { o.strict = true; }};
}

CommandOption row()
{
    return {"--row",
            nullptr,
            "N=WERT",
            "Adresszeile N setzen (mehrmals möglich).",
            [](Options& o, const std::string& v) { o.rowValues.push_back(v); },
            true};
}

CommandOption action()
{
    return {"--do",
            nullptr,
            "AKTION",
            "Ein Bedienelement der Seite bedienen (mehrmals möglich).",
            [](Options& o, const std::string& v) { o.actions.push_back(v); },
            true};
}

CommandOption count()
{
    return {"--count",
            nullptr,
            "K",
            "Die Zahl der Dateien (1 bis 9999).",
            [](Options& o, const std::string& v) { o.count = v; },
            false,
            true};
}

CommandOption step()
{
    return {"--step", nullptr, "S", "Abstand der Adressen zweier aufeinanderfolgender Dateien (ab 1).",
            [](Options& o, const std::string& v) { o.step = v; }};
}

} // namespace opt

namespace {

// "-o AUS" or "--step S": how the option is written in the usage line.
std::string callForm(const CommandOption& s)
{
    std::string form = s.shortName ? s.shortName : s.name;
    if (s.value)
        form += std::string(" ") + s.value;
    return form;
}

// `text` broken into lines of at most 80 characters at spaces, every line after the first
// indented by `indent` spaces; `used` is how much of the first line is taken already.
std::string wrapped(const std::string& text, std::size_t used, std::size_t indent)
{
    constexpr std::size_t kWidth = 80;
    std::string result;
    std::size_t column = used;
    bool lineStart = true;
    std::size_t at = 0;
    // Columns count characters, not bytes: UTF-8 continuation bytes take no room.
    auto width = [](const std::string& word) {
        std::size_t n = 0;
        for (const char c : word)
            n += (static_cast<unsigned char>(c) & 0xC0) == 0x80 ? 0 : 1;
        return n;
    };
    while (at < text.size()) {
        std::size_t end = text.find(' ', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string word = text.substr(at, end - at);
        if (!lineStart && column + 1 + width(word) > kWidth) {
            result += "\n" + std::string(indent, ' ');
            column = indent;
        } else if (!lineStart) {
            result += ' ';
            ++column;
        }
        result += word;
        column += width(word);
        lineStart = false;
        at = end + 1;
    }
    return result;
}

} // namespace

std::string wrapText(const std::string& text, std::size_t used, std::size_t indent)
{
    return wrapped(text, used, indent);
}

std::string reflow(const std::string& text)
{
    // Lines that start at the margin join into paragraphs; a line indented by two spaces is an
    // item of its own, continued under its first word's column.
    std::string result, paragraph;
    auto flush = [&] {
        if (!paragraph.empty())
            result += wrapped(paragraph, 0, 0) + "\n";
        paragraph.clear();
    };
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        if (line.empty()) {
            flush();
            result += "\n";
        } else if (line.rfind("  ", 0) == 0) {
            flush();
            result += "  " + wrapped(line.substr(2), 2, 4) + "\n";
        } else {
            paragraph += (paragraph.empty() ? "" : " ") + line;
        }
    }
    flush();
    return result;
}

std::string Command::usageLine() const
{
    std::string line = name();
    const Operands ops = operands();
    if (*ops.text)
        line += std::string(" ") + ops.text;
    for (const CommandOption& s : options()) {
        if (s.required)
            line += " " + callForm(s);
        else
            line += " [" + callForm(s) + (s.repeatable ? " ...]" : "]");
    }
    return line;
}

std::string Command::help() const
{
    const std::string call = "Aufruf: hexzwirbel-cli ";
    std::string text = call + wrapped(usageLine(), call.size(), call.size() + std::string(name()).size() + 1) + "\n\n" +
                       reflow(description()) + "\nOptionen:\n";
    std::vector<CommandOption> all = options();
    all.push_back({"--help", "-h", nullptr, "Diese Hilfe.", nullptr});
    for (const CommandOption& s : all) {
        std::string left = "  ";
        if (s.shortName)
            left += std::string(s.shortName) + ", ";
        left += s.name;
        if (s.value)
            left += std::string(" ") + s.value;
        constexpr std::size_t kColumn = 24;
        // The column counts characters; every option name and value name is ASCII.
        if (left.size() + 2 > kColumn)
            text += left + "\n" + std::string(kColumn, ' ');
        else
            text += left + std::string(kColumn - left.size(), ' ');
        text += wrapped(s.help, kColumn, kColumn) + "\n";
    }
    return text + "\nRückgabewert: " + wrapped(exitCodes(), 14, 2) + "\n";
}

int Command::usageError(std::ostream& err, const std::string& what) const
{
    report(err, name(), MsgKind::Error, DisplayName(what) + " Hilfe: hexzwirbel-cli help " + name());
    return 2;
}

std::string messagePrefix(const std::string& where)
{
    return "hexzwirbel-cli: " + (where.empty() ? std::string() : DisplayName(where) + ": ");
}

void report(std::ostream& err, const std::string& where, MsgKind kind, const std::string& what)
{
    err << BatchMessage(messagePrefix(where), kind, what);
}

bool isStdout(const std::string& output)
{
    return output == "-" || output == "/dev/stdout" || output == "/dev/fd/1" || output == "/proc/self/fd/1";
}

std::vector<std::string> inputFiles(const Options& o)
{
    std::vector<std::string> files;
    for (const std::string& f : o.files)
        if (!isStdin(f))
            files.push_back(f);
    return files;
}

bool outputsClash(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs, std::ostream& err)
{
    std::vector<std::string> files;
    for (const std::string& output : outputs)
        if (!output.empty() && !isStdout(output))
            files.push_back(output);
    const std::string clash = OutputClash(files, inputs);
    if (clash.empty())
        return false;
    report(err, "", MsgKind::Error, clash);
    return true;
}

bool outputIsAnInput(const Options& o, const std::string& output, std::ostream& err)
{
    return outputsClash({output}, inputFiles(o), err);
}

bool savesIntoItsInput(const Options& o, std::ostream& err)
{
    return DescriptorOf(o.output) >= 0 && outputIsAnInput(o, o.output, err);
}

bool reportWrite(std::ostream& err, const std::string& where, const WriteResult& result)
{
    if (!result.message.empty())
        report(err, where, result.complete() ? MsgKind::Warning : MsgKind::Error, result.message);
    return result.complete();
}

} // namespace hz::cli
