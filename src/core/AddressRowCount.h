#pragma once
// The address page has 48 rows: row 0 and the 47 rows the window shows. The firmware keeps a
// three-byte code slot for rows 0..30; the catalogue gives every row its caption; the image
// keeps four arrays of 48 entries behind them. One number for all of them.

namespace hz {

inline constexpr int kAddressRows = 48;

} // namespace hz
