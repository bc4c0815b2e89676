#include "catalogue/Identification.h"

namespace hz {

std::string IdentificationState::formatText() const { return Mot ? "Mot" : DCC ? "DCC" : "ohne"; }

Identification::Identification(FirmwareImage& image, StatusPanels& status, IdentificationState& state)
    : m_image(image), m_status(status), m_state(state)
{
}

void Identification::IdentifyDecoder() {}
void Identification::DetectAddressFormat() {}
void Identification::ApplyDecoderType(SessionView& view) { FinishIdentification(view); }
void Identification::FinishIdentification(SessionView&) {}
void Identification::RedoLayout(SessionView&) {}

} // namespace hz
