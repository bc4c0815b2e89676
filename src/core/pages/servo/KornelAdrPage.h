#pragma once
// The address and servo page of the servo decoders (TFrameKornelAdr): what each decoder
// address does (servo, action, curve, relay), the servo flags and the pulse ranges. Address
// settings and flags are entries of the curve page's working copy; the pulse ranges are kept
// here and written by the curve page's "übernehmen".

#include <array>
#include <cstdint>

#include "core/pages/Page.h"

namespace hz::pages {

class KornelPage;

class KornelAdrPage : public Page {
public:
    explicit KornelAdrPage(KornelPage& curves);

    const char* frameName() const override { return "TFrameKornelAdr"; }
    const char* objectName() const override { return "FrameKornelAdr1"; }

    // InitPage: runs each time the host shows page kind 4, after the curve page's.
    void showFor(Session& session) override;

    // Minimum pulse (units of 8 µs) and span code of servos 1 to 4, from EEPROM bytes
    // 0x60 to 0x67.
    std::array<std::int32_t, 4> PulseOffset{};
    std::array<std::int32_t, 4> PulseFactor{};

    // Shows the working copy's address settings and servo flags again (after the curve page
    // reloaded the table).
    void RefreshPage();

private:
    KornelPage& m_curves;
};

} // namespace hz::pages
