#include "core/tools/SideSession.h"

#include <cstddef>
#include <vector>

#include "core/firmware/HexText.h"
#include "core/firmware/HexWriter.h"

namespace hz::tools {

bool SideSession::load(const std::string& path)
{
    outcome = session.LoadFile(path);
    return loaded();
}

bool SideSession::loadShownState(const Session& shown)
{
    // The lines a save would write of the image as it is now: what the register and
    // additional-functions pages wrote at once, the accepted working copies. The copy of the
    // image builds them; the shown one stays as it is.
    FirmwareImage now(shown.image);
    if (BuildHexLines(now) <= 0) {
        outcome = LoadOutcome::Stopped;
        return false;
    }
    outcome = session.LoadLines(builtLines(now), shown.image.LastFileName);
    if (!loaded())
        return false;
    // The address rows as typed: they reach the image only at a save.
    const IdentificationState& id = shown.ident;
    for (int r = 1; r < pages::AddressPage::kRows; ++r) {
        if (!id.hasCaption(r) || !pages::AddressPage::hasStorage(r))
            continue;
        const std::string function = shown.addresses.functionText(r);
        const int state = shown.addresses.RowState[static_cast<std::size_t>(r)];
        std::string refused; // a row the firmware takes no address for stays as it is
        session.addresses.TypeRow(r, shown.addresses.addressText(r), id.FunctionDecoder ? &function : nullptr,
                                  id.RedGreen ? &state : nullptr, refused);
    }
    // The working copies not yet taken over.
    for (const pages::Page* p : shown.pages.shown()) {
        if (!p->hasPending())
            continue;
        for (pages::Page* q : session.pages.shown())
            if (std::string(q->objectName()) == p->objectName())
                q->setData(p->data());
    }
    return true;
}

std::string SideSession::lastMessage() const
{
    return m_prompter.shown.empty() ? std::string() : m_prompter.shown.back().text;
}

std::string SideSession::failure(const std::string& name) const
{
    std::string text = "Die Datei \"" + DisplayName(name) + "\" wurde nicht geladen.";
    if (const std::string why = lastMessage(); !why.empty())
        text += "\n\n" + why;
    return text;
}

} // namespace hz::tools
