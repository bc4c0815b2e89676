#pragma once
// A SessionView for core tests that records what the load sequence asked of the window.

#include <string>
#include <vector>

#include "core/SessionView.h"

namespace hz::test {

class RecordingView : public SessionView {
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
    void HideAllRows() override { calls.push_back("hideAllRows"); }
    void FocusRow(int row, bool functionField) override
    {
        calls.push_back("focus " + std::to_string(row) + (functionField ? " function" : " address"));
    }
    void ColourRows() override { calls.push_back("colourRows"); }
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
