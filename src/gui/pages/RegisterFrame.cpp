#include "gui/pages/RegisterFrame.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "gui/common/ControlFont.h"
#include "gui/common/FitText.h"
#include "gui/common/QtText.h"

using hz::pages::Control;
using hz::pages::ControlKind;
using hz::pages::RegisterPage;

namespace {

// A list's captions may be narrowed down to 90 % of their glyph width before they get smaller;
// narrower is no longer comfortable to read. Should even 7 pt be too wide, the tool tips still
// carry every caption.
constexpr int kMinCaptionStretch = 90;

} // namespace

RegisterFrame::RegisterFrame(RegisterPage& page, QWidget* parent)
    : PageFrame(page, parent), m_register(page), m_captionFont(rowControlFont())
{
    resize(RegisterPage::kWidth, 571);
}

QLabel* RegisterFrame::label(int row) { return static_cast<QLabel*>(widget(RegisterPage::labelName(row))); }

QLineEdit* RegisterFrame::edit(int row) { return static_cast<QLineEdit*>(widget(RegisterPage::editName(row))); }

QFrame* RegisterFrame::panel() { return static_cast<QFrame*>(widget("pnl_cv")); }

void RegisterFrame::beforeRefresh()
{
    // The font follows the list; typing into a row changes neither.
    if (m_register.ListShown() == m_fontFor)
        return;
    m_fontFor = m_register.ListShown();
    // Each caption fits into its own label, which the page sizes to the room of its column.
    std::vector<FitItem> captions;
    for (int row = 0; row < m_register.CvCount(); ++row) {
        const Control& label = m_register.label(row);
        captions.push_back({hz::gui::fromStd(label.caption), label.geometry ? label.geometry->width : 0});
    }
    m_captionFont = SharedFittingFont(rowControlFont(), captions, kMinCaptionStretch);
    for (int row = 0; row < kRows; ++row)
        if (QWidget* w = madeWidget(RegisterPage::labelName(row)))
            w->setFont(m_captionFont);
}

void RegisterFrame::styleWidget(const Control& c, QWidget* w)
{
    // The rows keep their font whatever font the frame is given.
    if (c.kind == ControlKind::Label)
        w->setFont(m_captionFont);
    else if (c.kind == ControlKind::Edit)
        w->setFont(rowControlFont());
}
