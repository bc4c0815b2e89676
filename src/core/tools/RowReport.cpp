#include "core/tools/RowReport.h"

namespace hz::tools {

std::vector<RowReport> rowReports(const Session& s)
{
    std::vector<RowReport> rows;
    const IdentificationState& id = s.ident;
    for (int r = 1; r < pages::AddressPage::kRows; ++r) {
        if (!id.hasCaption(r))
            continue;
        const auto i = static_cast<std::size_t>(r);
        RowReport rep{r, id.Captions[i], s.addresses.addressText(r), "", ""};
        if (id.RedGreen && pages::AddressPage::hasStorage(r))
            rep.state = s.addresses.RowState[i] == 1 ? "green" : "red";
        else if (id.FunctionDecoder)
            rep.function = s.addresses.functionText(r).empty() ? "null" : s.addresses.functionText(r);
        rows.push_back(rep);
    }
    return rows;
}

} // namespace hz::tools
