#pragma once
// The curve page of the servo decoders (TFrameKornel): the working copy of the servo table in
// program memory - four records of 128 entries, the low bytes of words 0x500 to 0x6FF - with
// the curve and relay graphs, the generators and transforms, and the curve and set files.
// The address page (KornelAdrPage) edits entries of the same working copy and relies on this
// page's "übernehmen".

#include <array>
#include <cstdint>

#include "core/pages/Page.h"

namespace hz::pages {

class KornelAdrPage;

class KornelPage : public Page {
public:
    KornelPage();

    const char* frameName() const override { return "TFrameKornel"; }
    const char* objectName() const override { return "FrameKornel1"; }

    // InitPage: runs each time the host shows page kind 4, before the address page's.
    void showFor(Session& session) override;
    // "übernehmen" is enabled.
    bool hasPending() const override;
    // "übernehmen": writes the working copy and the address page's pulse values.
    void accept() override;
    std::vector<int> data() const override;

    // The working copy: entry e is the low byte of program word 0x500 + e.
    std::array<std::int32_t, 512> CurveData{};

    // The address page beside this one (set by the page host): reloading the curves
    // refreshes it, and "übernehmen" writes its pulse values.
    KornelAdrPage* AddressPage = nullptr;

    // Every change of the working copy on the address page enables "übernehmen".
    void EnableAccept();
};

} // namespace hz::pages
