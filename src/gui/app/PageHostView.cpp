#include "gui/app/PageHostView.h"

#include <algorithm>

#include "core/pages/blink/BlinkmusterPage.h"
#include "core/pages/register/RegisterPage.h"
#include "core/pages/zusatz/ZusatzPage.h"
#include "gui/common/ControlFont.h"
#include "gui/pages/BlinkmusterFrame.h"
#include "gui/pages/PageFrame.h"
#include "gui/pages/RegisterFrame.h"
#include "gui/pages/ZusatzFrame.h"

namespace {

using hz::pages::Page;

// A frame of its own kind for the pages that need one (a font that fits, a measured caption);
// nullptr for the others.
template <class Model, class Frame> PageFrame* ownFrame(Page& page, QWidget* parent)
{
    auto* model = dynamic_cast<Model*>(&page);
    return model ? new Frame(*model, parent) : nullptr;
}

using FrameMaker = PageFrame* (*)(Page&, QWidget*);
// The pages with a frame of their own; every other page gets the generic frame.
const FrameMaker kOwnFrames[] = {
    // The additional-functions page measures its texts in the frame's font.
    ownFrame<hz::pages::ZusatzPage, ZusatzFrame>,
    // The blink pattern pages choose their font.
    ownFrame<hz::pages::BlinkmusterPage, BlinkmusterFrame>,
    ownFrame<hz::pages::BlinkmusterLedPage, BlinkmusterLedFrame>,
    // The register page chooses its captions' font.
    ownFrame<hz::pages::RegisterPage, RegisterFrame>,
};

PageFrame* makeFrame(Page& page, QWidget* parent)
{
    for (FrameMaker make : kOwnFrames)
        if (PageFrame* f = make(page, parent))
            return f;
    // The graph pages are dense: the row font, and captions that fit where the page puts them.
    auto* f = new PageFrame(page, parent);
    f->setPageFont(rowControlFont());
    return f;
}

} // namespace

PageHostView::PageHostView(hz::pages::PageHost& host, QWidget* parent, hz::gui::FileDialogs* dialogs) : m_host(host)
{
    for (Page* page : host.all()) {
        PageFrame* f = makeFrame(*page, parent);
        f->hide();
        f->setFileDialogs(dialogs);
        // The two servo pages share one working copy: what the user does on one frame can
        // change the other (an address choice enables "übernehmen", "verwerfen" refills the
        // address lists). After every user event all frames show their models again; a frame
        // whose model did not change has nothing to copy.
        QObject::connect(f, &PageFrame::modelEvent, f, [this] { Refresh(); });
        m_frames.push_back(f);
    }
    // The frames fill themselves when the host first shows them.
}

PageFrame* PageHostView::frame(const char* objectName) const
{
    for (PageFrame* f : m_frames)
        if (f->objectName() == QLatin1String(objectName))
            return f;
    return nullptr;
}

void PageHostView::HidePages()
{
    for (PageFrame* f : m_frames)
        f->hide();
}

void PageHostView::Refresh()
{
    // A hidden frame catches up when ShowPage shows it; refreshing it now would build the
    // widgets of a page nobody looks at.
    for (PageFrame* f : m_frames)
        if (!f->isHidden())
            f->refresh();
}

std::optional<hz::pages::WindowArrangement> PageHostView::ShowPage(int kind, const hz::pages::AddressArea& area)
{
    const std::vector<Page*> shown = m_host.pagesFor(kind);
    const std::vector<Page*> all = m_host.all();
    for (std::size_t k = 0; k < all.size(); ++k)
        if (std::find(shown.begin(), shown.end(), all[k]) == shown.end() && !all[k]->hiddenOnlyByLoad())
            m_frames[k]->hide();

    std::optional<hz::pages::WindowArrangement> arrangement;
    for (Page* page : shown) {
        const auto at = std::find(all.begin(), all.end(), page);
        if (at == all.end())
            continue;
        PageFrame* f = m_frames[static_cast<std::size_t>(at - all.begin())];
        const hz::pages::PagePlace place = page->placeIn(area);
        f->Updating = true;
        f->setGeometry(place.frame.left, place.frame.top, place.frame.width, place.frame.height);
        f->show();
        f->raise();
        f->refresh();
        f->Updating = false;
        if (place.window && !arrangement)
            arrangement = place.window;
    }
    return arrangement;
}
