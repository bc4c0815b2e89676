#include "gui/app/PageHostView.h"

#include <QGroupBox>

#include "gui/app/ControlFont.h"
#include "gui/app/TFormMain.h"
#include "core/catalogue/Catalogue.h"
#include "gui/pages/BlinkmusterFrame.h"
#include "gui/pages/RegisterFrame.h"
#include "gui/pages/ZusatzFrame.h"
#include "gui/pages/PageFrame.h"

using hz::pages::Rect;

PageHostView::PageHostView(TFormMain& window, QWidget* parent, hz::gui::FileDialogs* dialogs) : m_window(window)
{
    auto& host = window.session.pages;
    // The graph pages are dense: the row font, and captions that fit where the page puts them.
    auto plain = [parent](hz::pages::Page& page) {
        auto* f = new PageFrame(page, parent);
        f->setPageFont(rowControlFont());
        f->hide();
        return f;
    };
    // The additional-functions page measures its texts in the frame's font.
    FrameZusatz1 = new ZusatzFrame(host.Zusatz, parent);
    FrameZusatz1->hide();
    // The blink pattern pages choose their font.
    FrameBlinkmuster1 = new BlinkmusterFrame(host.Blinkmuster, parent);
    FrameBlinkmuster1->hide();
    FrameBlinkmuster_led1 = new BlinkmusterLedFrame(host.BlinkmusterLed, parent);
    FrameBlinkmuster_led1->hide();
    FrameKornelAdr1 = plain(host.KornelAdr);
    FrameKornel1 = plain(host.Kornel);
    // The register page has a frame of its own kind (it chooses its captions' font).
    FrameRegister1 = new RegisterFrame(host.Register, parent);
    FrameRegister1->hide();
    m_frames = {FrameZusatz1, FrameBlinkmuster1, FrameBlinkmuster_led1, FrameKornelAdr1, FrameKornel1, FrameRegister1};
    for (PageFrame* f : m_frames)
        f->setFileDialogs(dialogs);
    // The two servo pages share one working copy: what the user does on one frame can change
    // the other (an address choice enables "übernehmen", "verwerfen" refills the address
    // lists). After every user event all frames show their models again; a frame whose model
    // did not change has nothing to copy.
    for (PageFrame* f : m_frames)
        QObject::connect(f, &PageFrame::modelEvent, f, [this] { Refresh(); });
    // The frames fill themselves when the host first shows them.
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

void PageHostView::ShowPage(int kind)
{
    for (PageFrame* f : {FrameZusatz1, FrameBlinkmuster1, FrameBlinkmuster_led1, FrameKornel1, FrameKornelAdr1})
        f->hide();
    // The sizes the pages were designed with, measured on the models' controls.
    auto rectOf = [](const PageFrame* f, const char* name) {
        const hz::pages::Control* c = f->model().find(name);
        return c && c->geometry ? *c->geometry : Rect{};
    };
    auto place = [](PageFrame* f, int left, int top, int width, int height) {
        f->Updating = true;
        f->setGeometry(left, top, width, height);
        f->show();
        f->raise();
        f->refresh();
        f->Updating = false;
    };

    const QGroupBox* main = m_window.GroupBoxMain;
    const int top = main->y() + 5;
    switch (kind) {
    case hz::PageZusatz: {
        const Rect mode = rectOf(FrameZusatz1, "group_mode");
        const int width = mode.left + mode.width + 10;
        place(FrameZusatz1, 410, top, width, 485);
        m_window.ArrangeWindow(5, 410, 485, width);
        break;
    }
    case hz::PageBlinkmuster:
    case hz::PageBlinkmusterLed: {
        PageFrame* frame = kind == hz::PageBlinkmuster ? FrameBlinkmuster1 : FrameBlinkmuster_led1;
        const Rect accept = rectOf(
            frame, kind == hz::PageBlinkmuster ? "blinkmuster_btn_uebernehmen" : "led_blinkmuster_btn_uebernehmen");
        const int height = accept.top + accept.height + 15;
        const int width = accept.left + accept.width + 15;
        place(frame, 410, top, width, height);
        m_window.ArrangeWindow(5, 410, height, width);
        break;
    }
    case hz::PageServo: {
        place(FrameKornel1, 410, top, 540, 555);
        place(FrameKornelAdr1, main->x() + 1, 120, main->width() - 2, 530);
        const Rect accept = rectOf(FrameKornel1, "servo_btn_uebernehmen");
        const int height = accept.top + accept.height + 15;
        const int a = accept.left + accept.width;
        FrameKornel1->resize(a + 15, height);
        m_window.ArrangeWindow(410, 650, height, a - 225);
        break;
    }
    case hz::PageRegister:
        // The register page covers the (empty) address area.
        m_window.ArrangeWindow(5, 410, 555, 535);
        place(FrameRegister1, 5, main->y() + 3, hz::pages::RegisterPage::kWidth, hz::pages::RegisterPage::kHeight);
        break;
    default:
        break;
    }
}
