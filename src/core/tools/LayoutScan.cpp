#include "core/tools/LayoutScan.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <mutex>
#include <ostream>
#include <set>
#include <streambuf>
#include <tuple>
#include <utility>

#include "core/BatchPrompter.h"
#include "core/Session.h"
#include "core/SystemError.h"
#include "core/firmware/HexText.h"
#include "core/pages/register/CvLists.h"
#include "core/platform/Platform.h"
#include "core/tools/RowReport.h"

namespace hz::tools {

const char* SpaceId(AddressSpace space)
{
    switch (space) {
    case AddressSpace::MotAccessory: return "mot_accessory";
    case AddressSpace::DccAccessory: return "dcc_accessory";
    case AddressSpace::MotFunction: return "mot_function";
    case AddressSpace::DccFunction: return "dcc_function";
    case AddressSpace::DccLocoShort: return "dcc_loco_short";
    case AddressSpace::DccLocoLong: return "dcc_loco_long";
    }
    return "";
}

const char* SpaceText(AddressSpace space)
{
    switch (space) {
    case AddressSpace::MotAccessory: return "Mot-Zubehör";
    case AddressSpace::DccAccessory: return "DCC-Zubehör";
    case AddressSpace::MotFunction: return "Mot-Funktion";
    case AddressSpace::DccFunction: return "DCC-Funktion";
    case AddressSpace::DccLocoShort: return "DCC-Lok kurz";
    case AddressSpace::DccLocoLong: return "DCC-Lok lang";
    }
    return "";
}

bool IsLocoSpace(AddressSpace space)
{
    return space == AddressSpace::DccLocoShort || space == AddressSpace::DccLocoLong;
}

bool ScannedDecoder::hasDoubleUse() const
{
    return std::any_of(rows.begin(), rows.end(), [](const ScannedRow& r) { return r.doubleUse; });
}

std::string CommandText(const DoubleUse& use)
{
    std::string text = std::string(SpaceText(use.space)) + " " + std::to_string(use.address);
    if (use.space == AddressSpace::MotAccessory || use.space == AddressSpace::DccAccessory)
        return text + (use.state == "green" ? " grün" : " rot");
    if (IsLocoSpace(use.space))
        return text;
    return text + " F" + std::to_string(use.function);
}

std::string UsePlace(const DoubleUse::Use& use)
{
    return use.row == 0 ? use.caption : "Zeile " + std::to_string(use.row) + " (" + use.caption + ")";
}

namespace {

using platform::FileInfo;
using platform::FileKind;

// ---- Finding the files --------------------------------------------------------------------

bool endsWithHex(const std::string& name)
{
    if (name.size() < 4)
        return false;
    std::string tail = name.substr(name.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return tail == ".hex";
}

std::string joined(const std::string& folder, const std::string& name)
{
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

class Finder {
public:
    FoundFiles found;
    std::function<int(const std::string&)> openFault;

    void operand(const std::string& path)
    {
        FileInfo st;
        if (const int err = platform::Look(path, st); err != 0) {
            unreadable(path, unreachable(path, err));
            return;
        }
        if (st.kind == FileKind::Folder) {
            folder(path, st);
            return;
        }
        // A file named on purpose is taken whatever its name.
        file(path, st);
    }

private:
    using Identity = std::pair<std::uint64_t, std::uint64_t>;

    void error(const std::string& shown, const std::string& reason) { found.errors.push_back({shown, reason}); }
    // What `shown` holds is missing from the overview.
    void unreadable(const std::string& shown, const std::string& reason)
    {
        found.errors.push_back({shown, reason, true});
        found.failed = true;
    }

    // The error number of opening `path`, as the injected fault or the system says.
    int openError(const std::string& path) const
    {
        if (openFault)
            if (const int fault = openFault(path))
                return fault;
        return platform::OpensForReading(path);
    }

    // Why `path` cannot be looked at; a link is named as such.
    static std::string unreachable(const std::string& path, int err)
    {
        FileInfo link;
        const bool isLink = platform::LookAtName(path, link) == 0 && link.kind == FileKind::Link;
        if (isLink && err == ELOOP)
            return "Die symbolische Verknüpfung führt im Kreis und wurde nicht gelesen.";
        if (isLink && err == ENOENT)
            return "Die symbolische Verknüpfung zeigt ins Leere und wurde nicht gelesen.";
        return SystemErrorReason(err) + ".";
    }

    // Names are shown as found: the path as given, joined with the path below it.
    void folder(const std::string& path, const FileInfo& st)
    {
        if (!m_folders.insert({st.device, st.inode}).second) {
            error(path, "Dieser Ordner wurde schon durchsucht (eine symbolische Verknüpfung führt zurück); er "
                        "wird nicht noch einmal gelesen.");
            return;
        }
        std::vector<std::string> names;
        const int fault = openFault ? openFault(path) : 0;
        if (const int err = fault ? fault : platform::ListFolder(path, names); err != 0) {
            unreadable(path, "Der Ordner kann nicht gelesen werden: " + SystemErrorReason(err) +
                                 "; die Dateien darin fehlen in der Übersicht.");
            return;
        }
        // Hidden folders and files (.git, .Trash-1000, editor backups) are left out.
        names.erase(std::remove_if(names.begin(), names.end(),
                                   [](const std::string& name) { return name.empty() || name[0] == '.'; }),
                    names.end());
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            const std::string childPath = joined(path, name);
            FileInfo child;
            if (const int err = platform::Look(childPath, child); err != 0) {
                // A link that leads nowhere is only worth a word where a firmware file was
                // meant; an entry the system will not let us look at may be a folder of them.
                if (err != ENOENT && err != ELOOP)
                    unreadable(childPath, unreachable(childPath, err));
                else if (endsWithHex(name))
                    error(childPath, unreachable(childPath, err));
                continue;
            }
            if (child.kind == FileKind::Folder) {
                if (endsWithHex(name))
                    error(childPath, "Das ist ein Ordner, keine HEX-Datei; die Dateien darin werden mit "
                                     "durchsucht.");
                folder(childPath, child);
            } else if (endsWithHex(name)) {
                file(childPath, child);
            }
        }
    }

    void file(const std::string& name, const FileInfo& st)
    {
        if (st.kind != FileKind::Regular) {
            error(name, "Das ist keine gewöhnliche Datei (ein Gerät, eine Pipe oder ein Socket); sie wurde nicht "
                        "gelesen.");
            return;
        }
        const auto size = static_cast<unsigned long long>(st.size);
        if (size > kMaxFirmwareFileSize) {
            error(name, strprintf("Die Datei ist %llu Bytes groß; eine Firmware-Datei hat höchstens %llu Bytes "
                                  "(1024 Zeilen). Sie wurde nicht gelesen.",
                                  size, kMaxFirmwareFileSize));
            return;
        }
        if (const int err = openError(name)) {
            unreadable(name, "Die Datei kann nicht gelesen werden: " + SystemErrorReason(err) + ".");
            return;
        }
        const auto [at, added] = m_files.insert({Identity{st.device, st.inode}, name});
        if (!added) {
            error(name, "Dieselbe Datei wie \"" + DisplayName(at->second) +
                            "\" (über eine Verknüpfung); sie wird nur einmal "
                            "gezählt.");
            return;
        }
        found.files.push_back(name);
    }

    std::set<Identity> m_folders;
    std::map<Identity, std::string> m_files;
};

// ---- Loading ------------------------------------------------------------------------------

// Where the batch prompter prints its lines: nowhere. The messages are kept from its list.
class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

struct Loaded {
    bool done = false; // loaded (else `error` holds the reason)
    ScannedDecoder decoder;
    std::string error;
};

std::optional<AddressSpace> spaceOf(const IdentificationState& id, const ScannedRow& row)
{
    if (!row.address || *row.address <= 0)
        return std::nullopt;
    if (!row.state.empty())
        return id.Mot ? AddressSpace::MotAccessory : AddressSpace::DccAccessory;
    if (id.FunctionDecoder && row.function && *row.function > 0)
        return id.Mot ? AddressSpace::MotFunction : AddressSpace::DccFunction;
    return std::nullopt;
}

// Reads the address of a decoder kept in CVs into a row 0 of `d`; why the overview cannot work
// out the decoder's address, or empty when its rows or CVs hold what it answers to.
std::string uncheckedReason(const Session& session, ScannedDecoder& d)
{
    const IdentificationState& id = session.ident;
    if (!id.Type)
        return "Der Dekoder-Typ ist nicht erkannt.";
    if (const std::optional<CvAddress> cv = ReadCvAddress(session.image, id.Identifier)) {
        // The CVs are DCC's; Mot wins wherever both formats are set.
        if (id.Mot || !id.DCC)
            return "Die Adresse steht in den CVs, die nur im Format DCC gelten; die Datei hat das Format " +
                   id.formatText() + ".";
        if (!cv->problem.empty())
            return cv->problem;
        ScannedRow row;
        row.caption = cv->isLong ? "Lokadresse aus CV17/CV18" : "Lokadresse aus CV1";
        row.address = cv->address;
        row.addressText = std::to_string(cv->address);
        row.space = cv->isLong ? AddressSpace::DccLocoLong : AddressSpace::DccLocoShort;
        d.rows.insert(d.rows.begin(), std::move(row));
        return {};
    }
    if (id.NoAddressInput)
        return "Diese Firmware hat keine Adresseingabe; welche Adresse sie hört, steht nicht in den Adresszeilen.";
    if (!id.Mot && !id.DCC)
        return "Das Adressformat ist nicht erkannt (ohne); die Adresszeilen lassen sich nicht lesen.";
    if (d.rows.empty())
        return "Dieser Typ hat keine Adresszeilen, und seine Adresse steht nicht in bekannten CVs.";
    return {};
}

Loaded load(const std::string& path, bool defaultConfig)
{
    NullBuffer nowhere;
    std::ostream sink(&nowhere);
    BatchPrompter prompter(sink, defaultConfig);
    Session session(prompter);
    const LoadOutcome outcome = session.LoadFile(path);
    Loaded result;
    if (outcome != LoadOutcome::Done) {
        // The message that stopped the load: the last error, else the last message.
        for (auto it = prompter.shown.rbegin(); it != prompter.shown.rend() && result.error.empty(); ++it)
            if (it->kind == MsgKind::Error)
                result.error = it->text;
        if (result.error.empty() && !prompter.shown.empty())
            result.error = prompter.shown.back().text;
        if (result.error.empty())
            result.error = "Die Datei wurde nicht geladen.";
        return result;
    }
    result.done = true;
    ScannedDecoder& d = result.decoder;
    const IdentificationState& id = session.ident;
    d.file = path;
    d.type = id.Type ? id.Type->Name : std::string();
    d.identifier = id.Identifier;
    d.version = session.image.facts.versionText();
    d.pic = session.image.PicModel;
    d.format = id.formatText();
    const bool anyFormat = id.Mot || id.DCC;
    for (const RowReport& r : rowReports(session)) {
        ScannedRow row;
        row.row = r.row;
        row.caption = r.caption;
        row.addressText = r.address;
        row.state = r.state;
        int value = 0;
        if (parseWholeNumber(r.address, value))
            row.address = value;
        if (!r.function.empty() && parseWholeNumber(r.function, value))
            row.function = value;
        if (anyFormat && !id.NoAddressInput)
            row.space = spaceOf(id, row);
        d.rows.push_back(std::move(row));
    }
    d.unchecked = uncheckedReason(session, d);
    for (const BatchPrompter::Shown& m : prompter.shown)
        d.messages.push_back(m.text);
    return result;
}

bool byFile(const ScanError& a, const ScanError& b) { return a.file < b.file; }

} // namespace

FoundFiles FindFirmwareFiles(const std::vector<std::string>& paths,
                             const std::function<int(const std::string&)>& openFault)
{
    Finder finder;
    finder.openFault = openFault;
    for (const std::string& p : paths)
        finder.operand(p);
    std::sort(finder.found.files.begin(), finder.found.files.end());
    std::stable_sort(finder.found.errors.begin(), finder.found.errors.end(), byFile);
    return std::move(finder.found);
}

LayoutScan ScanFiles(FoundFiles found, const ScanControl& control)
{
    LayoutScan scan;
    scan.failed = found.failed;
    scan.errors = std::move(found.errors);
    const std::vector<std::string>& files = found.files;
    scan.filesFound = files.size();

    std::vector<std::optional<Loaded>> results(files.size());
    std::atomic<std::size_t> next{0};
    std::size_t done = 0;
    std::mutex progressLock;
    auto worker = [&] {
        for (;;) {
            if (control.cancel && control.cancel->load())
                return;
            const std::size_t k = next.fetch_add(1);
            if (k >= files.size())
                return;
            results[k] = load(files[k], control.defaultConfig);
            const std::lock_guard<std::mutex> lock(progressLock);
            ++done;
            if (control.progress)
                control.progress(done, files.size());
        }
    };
    unsigned threads = control.threads ? control.threads : platform::WorkerThreads();
    threads = static_cast<unsigned>(std::min<std::size_t>(threads, files.size()));
    platform::RunOnThreads(threads, worker);
    scan.cancelled = control.cancel && control.cancel->load();

    for (std::size_t k = 0; k < results.size(); ++k) {
        if (!results[k])
            continue;
        if (results[k]->done)
            scan.decoders.push_back(std::move(results[k]->decoder));
        else
            scan.errors.push_back({files[k], std::move(results[k]->error)});
    }
    std::stable_sort(scan.errors.begin(), scan.errors.end(), byFile);
    scan.doubleUses = FindDoubleUses(scan.decoders);
    return scan;
}

LayoutScan ScanLayout(const std::vector<std::string>& paths, const ScanControl& control)
{
    return ScanFiles(FindFirmwareFiles(paths, control.openFault), control);
}

std::vector<DoubleUse> FindDoubleUses(std::vector<ScannedDecoder>& decoders)
{
    // The command a row answers: space, address, and the half (0 red, 1 green) or function.
    using Command = std::tuple<int, int, int>;
    std::map<Command, std::vector<std::pair<std::size_t, std::size_t>>> byCommand;
    for (std::size_t d = 0; d < decoders.size(); ++d)
        for (std::size_t r = 0; r < decoders[d].rows.size(); ++r) {
            const ScannedRow& row = decoders[d].rows[r];
            if (!row.space)
                continue;
            const bool accessory = *row.space == AddressSpace::MotAccessory || *row.space == AddressSpace::DccAccessory;
            const int detail = accessory                 ? (row.state == "green" ? 1 : 0)
                               : IsLocoSpace(*row.space) ? 0
                                                         : row.function.value_or(0);
            byCommand[{static_cast<int>(*row.space), *row.address, detail}].push_back({d, r});
        }
    std::vector<DoubleUse> uses;
    for (const auto& [command, rows] : byCommand) {
        if (rows.size() < 2)
            continue;
        DoubleUse use;
        use.space = static_cast<AddressSpace>(std::get<0>(command));
        use.address = std::get<1>(command);
        const bool accessory = use.space == AddressSpace::MotAccessory || use.space == AddressSpace::DccAccessory;
        if (accessory)
            use.state = std::get<2>(command) == 1 ? "green" : "red";
        else
            use.function = std::get<2>(command);
        for (const auto& [d, r] : rows) {
            ScannedRow& row = decoders[d].rows[r];
            row.doubleUse = true;
            use.uses.push_back({d, row.row, decoders[d].file, row.caption});
        }
        uses.push_back(std::move(use));
    }
    return uses;
}

} // namespace hz::tools
