#pragma once
// A SessionView for core tests that records what the load sequence asked of the window.

#include <string>
#include <vector>

#include "SessionView.h"

namespace hz::test {

class RecordingView : public SessionView {
public:
    void hidePages() override { calls.push_back("hidePages"); }
    void resetLayout() override { calls.push_back("resetLayout"); }
    void layoutRows(int columnBreak, int gap) override
    {
        calls.push_back("layoutRows " + std::to_string(columnBreak) + " " + std::to_string(gap));
    }
    void showPage(int kind) override { calls.push_back("showPage " + std::to_string(kind)); }
    void fitHeader(const std::string& name) override { calls.push_back("fitHeader " + name); }
    void showRows() override { calls.push_back("showRows"); }
    void hideAllRows() override { calls.push_back("hideAllRows"); }
    void focusRow(int row, bool functionField) override
    {
        calls.push_back("focus " + std::to_string(row) + (functionField ? " function" : " address"));
    }
    void colourRows() override { calls.push_back("colourRows"); }
    void setProgress(int maximum, int position) override
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
