#pragma once
// A series of decoders from one firmware file: file i (0 .. count-1) is the same firmware
// with every address row that holds an address moved on by i x step, so that consecutive
// decoders answer to consecutive blocks of addresses. Function numbers and red/green stay.

#include <string>
#include <vector>

#include "core/Session.h"

namespace hz::tools {

// The rows of the address page that keep an address in the EEPROM (captioned rows with a
// slot). Their number is the step a series takes by default.
std::vector<int> SeriesRows(const Session& s);

// Types the addresses of member `index` into the rows, from the texts the file had (`base`,
// the address page's AddressText as loaded): a row holding a whole number above 0 gets that
// number + index x step; 0 (unused) and anything else stay as they are. False with `error`
// when the address page refuses a row.
bool TypeSeriesMember(Session& s, const std::vector<std::string>& base, int index, int step, std::string& error);

// The file name of member `index` (from 0): every "{n}" in `pattern` becomes index + 1,
// padded with zeros to the width of `count`.
std::string SeriesFileName(const std::string& pattern, int index, int count);

} // namespace hz::tools
