#pragma once
// The pages whose editors are not built yet: the additional-functions page and the two servo
// pages. Each holds the controls the page host measures (the
// mode group, the accept buttons), so that the host places and sizes the window for them and
// asks about pending changes as it will for the finished pages.

#include <string>

#include "core/pages/Page.h"

namespace hz::pages {

class PlaceholderPage : public Page {
public:
    PlaceholderPage(const char* frameName, const char* objectName) : m_frame(frameName), m_object(objectName) {}

    const char* frameName() const override { return m_frame; }
    const char* objectName() const override { return m_object; }
    void showFor(Session&) override { Updating = false; }

    // A group at a fixed place (the mode group of the additional-functions page).
    void addGroup(const std::string& name, const std::string& caption, const Rect& r);
    // The accept button of a page with a working copy: disabled while nothing is pending.
    void addAcceptButton(const std::string& name, const std::string& caption, const Rect& r);

    // Pending changes are an enabled accept button; accepting disables it again.
    bool hasPending() const override;
    void accept() override;
    // Marks the working copy as changed (enables the accept button).
    void markPending();

protected:
    void onClick(Control& c) override;

private:
    const char* m_frame;
    const char* m_object;
    std::string m_accept;
};

} // namespace hz::pages
