#include "catalogue/AddressPage.h"

namespace hz {

AddressPage::AddressPage(FirmwareImage& image, AddressRowStore& rows, IdentificationState& state)
    : m_image(image), m_rows(rows), m_state(state)
{
}

int AddressPage::slotOf(int row) { return row; }
void AddressPage::DecodeRows(SessionView&) {}
bool AddressPage::ValidateRows(SessionView&) { return true; }
void AddressPage::EncodeRows() {}
void AddressPage::WriteRows() {}
void AddressPage::btn_RGClick(int, SessionView&) {}

} // namespace hz
