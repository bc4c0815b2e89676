#pragma once
// A window for core tests that records what the load sequence asked of it. It also stands in
// for the session when a test drives the identification's steps directly.

#include <string>
#include <vector>

#include "core/SessionView.h"
#include "core/catalogue/Identification.h"

namespace hz::test {

class RecordingView : public SessionView, public IdentificationView {
public:
    void HidePages() override { calls.push_back("hidePages"); }
    void ResetLayout() override { calls.push_back("resetLayout"); }
    void LayoutRows(int columnBreak, int gap) override
    {
        calls.push_back("layoutRows " + std::to_string(columnBreak) + " " + std::to_string(gap));
    }
    void ShowPage(int kind) override { calls.push_back("showPage " + std::to_string(kind)); }
    void FitHeader(const std::string& name) override { calls.push_back("fitHeader " + name); }
    void ShowRows() override { calls.push_back("showRows"); }
    void DocPageChanged(const std::string&) override {}
    void SetProgress(int maximum, int position) override
    {
        progress.push_back(position);
        (void)maximum;
    }

    bool called(const std::string& what) const
    {
        for (const auto& c : calls)
            if (c == what)
                return true;
        return false;
    }

    std::vector<std::string> calls;
    std::vector<int> progress;
};

} // namespace hz::test
