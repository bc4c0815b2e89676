#include "core/tools/AddressSeries.h"

#include "core/firmware/HexText.h"

namespace hz::tools {

std::vector<int> SeriesRows(const Session& s)
{
    std::vector<int> rows;
    if (s.ident.NoAddressInput || (!s.ident.Mot && !s.ident.DCC))
        return rows;
    for (int r = 1; r < pages::AddressPage::kRows; ++r)
        if (s.ident.hasCaption(r) && pages::AddressPage::hasStorage(r))
            rows.push_back(r);
    return rows;
}

bool TypeSeriesMember(Session& s, const std::vector<std::string>& base, int index, int step, std::string& error)
{
    for (int r : SeriesRows(s)) {
        const auto i = static_cast<std::size_t>(r);
        std::string text = i < base.size() ? base[i] : std::string();
        int address = 0;
        if (parseWholeNumber(text, address) && address > 0) {
            // Far beyond every range, but never wrapping round into one.
            const long long moved = static_cast<long long>(address) + static_cast<long long>(index) * step;
            text = moved > 999999 ? std::string("999999") : std::to_string(moved);
        }
        const std::string function = s.addresses.functionText(r);
        if (!s.addresses.TypeRow(r, text, s.ident.FunctionDecoder ? &function : nullptr, nullptr, error))
            return false;
    }
    return true;
}

std::string SeriesFileName(const std::string& pattern, int index, int count)
{
    const int width = static_cast<int>(std::to_string(count).size());
    const std::string number = strprintf("%0*d", width, index + 1);
    std::string name;
    for (std::size_t k = 0; k < pattern.size();) {
        if (pattern.compare(k, 3, "{n}") == 0) {
            name += number;
            k += 3;
        } else {
            name += pattern[k++];
        }
    }
    return name;
}

} // namespace hz::tools
