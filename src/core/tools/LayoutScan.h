#pragma once
// The whole layout at a glance: every firmware file of a set of folders, loaded as the tool's
// `info` loads one (no questions), reduced to what the layout needs to know - type, version,
// PIC, address format and the address rows - and the addresses that two rows answer to.
//
// Two rows answer the same command when they share an address space (the address format and
// the kind of row: Mot and DCC apart, accessory rows apart from function-decoder rows), the
// address, and the red or green half (accessory rows) or the function number (function-decoder
// rows). On the layout such a double use throws two turnouts at once; it may be meant, so it is
// reported, not refused.
//
// A decoder whose settings are all CVs (a type with a CV list that holds CV1, CV17, CV18 and
// CV29) has no address rows: it answers as a whole to the DCC locomotive address its CVs give,
// short (CV1) or long (CV17/CV18, chosen by bit 5 of CV29). That address is kept as a row 0 of
// the decoder (the address page never captions row 0), in the space of short or of long
// locomotive addresses: two such decoders on one address are a double use, a short and a long
// address of the same number are not. A decoder whose address the overview cannot work out (an
// unknown type, no address format, CVs that give no address) says why in `unchecked`.
//
// Files are found and listed in a fixed order (sorted by the name shown), loaded in parallel,
// one load per file, and only the summary of each is kept: memory follows the number of rows,
// not the number of files.

#include <atomic>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/firmware/TextFile.h"

namespace hz::tools {

// The command spaces of the decoders' addresses.
enum class AddressSpace { MotAccessory, DccAccessory, MotFunction, DccFunction, DccLocoShort, DccLocoLong };
// "mot_accessory", "dcc_accessory", "mot_function", "dcc_function", "dcc_loco_short",
// "dcc_loco_long": for machine-readable output.
const char* SpaceId(AddressSpace space);
// "Mot-Zubehör", "DCC-Zubehör", "Mot-Funktion", "DCC-Funktion", "DCC-Lok kurz", "DCC-Lok lang":
// for people.
const char* SpaceText(AddressSpace space);
bool IsLocoSpace(AddressSpace space);

// The words a report puts before a decoder's reason when its address was not checked.
inline constexpr const char* kAddressNotChecked = "Adresse nicht geprüft";

struct ScannedRow {
    int row = 0; // 1..47; 0: the decoder's own address, read from its CVs
    std::string caption;
    std::string addressText;     // as the address field shows it (empty: undecodable)
    std::string state;           // "green" / "red" on red/green rows, else empty
    std::optional<int> address;  // the address when the field holds a whole number
    std::optional<int> function; // function-decoder rows: the function number when known
    // The space the row answers in; empty for a row that holds no address (0 = unused, an
    // undecodable code, no function, a row without EEPROM room, a file of format "ohne").
    std::optional<AddressSpace> space;
    bool doubleUse = false; // another row answers the same command
};

struct ScannedDecoder {
    std::string file;    // the name shown: the path as given, joined with the path below it
    std::string type;    // the catalogue name; empty when the file is not recognised
    int identifier = 0;  // the decoder identifier from program words 0..2
    std::string version; // "3.58"
    int pic = 0;         // 629, 676, 684, 688, 18324; 0 when not recognised
    std::string format;  // "Mot", "DCC" or "ohne"
    std::vector<ScannedRow> rows;
    std::vector<std::string> messages; // every message of the load, in order
    // Why the overview could not work out the decoder's address (German); empty when its rows
    // or its CVs were checked.
    std::string unchecked;
    bool hasDoubleUse() const;
};

struct ScanError {
    std::string file;
    std::string reason; // German
    // A folder or file that could not be read (or an operand that is not there): what it holds
    // is missing from the overview, which is therefore incomplete.
    bool unreadable = false;
};

struct DoubleUse {
    AddressSpace space;
    int address = 0;
    std::string state; // accessory spaces: "green" / "red"
    int function = 0;  // function spaces: the function number
    struct Use {
        std::size_t decoder; // index into LayoutScan::decoders
        int row;
        std::string file, caption;
    };
    std::vector<Use> uses; // two or more, in file and row order
};

// "DCC-Zubehör 101 rot", "Mot-Funktion 5 F1", "DCC-Lok kurz 3": the command a double use answers.
std::string CommandText(const DoubleUse& use);
// Where a use is in its file: "Zeile 5 (Weiche 1)", or for the address from the CVs the
// caption alone ("Lokadresse aus CV1").
std::string UsePlace(const DoubleUse::Use& use);

struct LayoutScan {
    std::vector<ScannedDecoder> decoders; // the files that loaded, sorted by name
    std::vector<DoubleUse> doubleUses;    // by space, address, half or function
    std::vector<ScanError> errors;        // sorted by name; the scan went on after each
    // Not everything could be read: an operand is not there, or a folder or file below one
    // could not be read (each is in `errors`, marked unreadable).
    bool failed = false;
    // Stopped by the caller: the decoders and errors hold the files loaded so far.
    bool cancelled = false;
    // Files found (loaded or not).
    std::size_t filesFound = 0;
};

struct ScanControl {
    // done, total: after every file; called from the loading threads, one call at a time.
    std::function<void(std::size_t, std::size_t)> progress;
    // Set from another thread to stop; files not yet begun are left out.
    const std::atomic<bool>* cancel = nullptr;
    // Loading threads; 0: one per core.
    unsigned threads = 0;
    // Answer the missing-configuration question with the decoder's standard values, as the
    // tool's --default-config does.
    bool defaultConfig = false;
    // For tests: the error number opening `path` (a folder or a file) is to fail with as if the
    // system had said so, 0 to open it; lets a test show an unreadable entry also as root.
    std::function<int(const std::string& path)> openFault;
};

// A file bigger than kMaxFirmwareFileSize is listed as too big and not read.
using hz::kMaxFirmwareFileSize;

// The files to load below `paths` (folders recursively, files as named) and what could not be
// looked at. Folders and files whose name begins with "." are passed over inside a folder;
// only names ending in ".hex" (any case) are taken from folders, a file named directly is taken
// whatever its name. Symbolic links are followed; a folder reached a second time (a link loop)
// and a file reached a second time are listed once and named in `errors`.
struct FoundFiles {
    std::vector<std::string> files; // sorted by name
    std::vector<ScanError> errors;
    bool failed = false;
};
// A folder or file that cannot be opened for reading is named in `errors` as unreadable, and
// `failed` is set.
FoundFiles FindFirmwareFiles(const std::vector<std::string>& paths,
                             const std::function<int(const std::string&)>& openFault = {});

// Loads every file found and works out the double uses.
LayoutScan ScanLayout(const std::vector<std::string>& paths, const ScanControl& control = {});
// The same on files already found.
LayoutScan ScanFiles(FoundFiles found, const ScanControl& control = {});

// The double uses among the decoders' rows; marks every row involved.
std::vector<DoubleUse> FindDoubleUses(std::vector<ScannedDecoder>& decoders);

} // namespace hz::tools
