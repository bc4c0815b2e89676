#pragma once
// The name of the PIC instruction a 14-bit program word encodes, for the comparison report:
// the mnemonic alone, without operands, always six characters (shorter names padded with
// blanks, a word that encodes no instruction as six blanks) so that report lines stay aligned.
//
// One table serves both PIC families. Its names are those of the enhanced mid-range set of
// the 16F18324, which also covers the classic 14-bit set; where the two sets differ (high
// byte 0x32..0x37, a MOVLW or RETLW on the classic parts) the enhanced name is shown.

#include <string>
#include <string_view>

namespace hz {

// `high` and `low` are the word's bytes as two-digit texts, as the image keeps them.
std::string MnemonicOf(std::string_view high, std::string_view low);

} // namespace hz
