#include "gui/pages/Frame_register.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <algorithm>

#include "gui/app/ControlFont.h"

using hz::pages::Control;
using hz::pages::ControlKind;
using hz::pages::RegisterPage;

namespace {

// How far a list's captions may shrink to fit: half points down to 7 pt, then narrower glyphs
// down to 90 % of their width. Smaller than that is no longer comfortable to read.
constexpr qreal kMinCaptionPoints = 7.0;
constexpr int kMinCaptionStretch = 90;

int widestCaption(const QFont& font, const QStringList& captions)
{
    const QFontMetrics fm(font);
    int widest = 0;
    for (const QString& c : captions)
        widest = std::max(widest, fm.horizontalAdvance(c));
    return widest;
}

// The font for the captions of one list: the row font, made smaller and then narrower only
// as far as the widest caption needs to fit before the edit fields. Should even the smallest
// font be too wide, that is what the list gets; the tool tips still carry every caption.
QFont fittingFont(const QStringList& captions)
{
    QFont font = rowControlFont();
    for (qreal size = font.pointSizeF(); size >= kMinCaptionPoints; size -= 0.5) {
        font.setPointSizeF(size);
        if (widestCaption(font, captions) <= RegisterPage::kCaptionRoom)
            return font;
    }
    font.setPointSizeF(kMinCaptionPoints);
    for (int stretch = 99; stretch >= kMinCaptionStretch; --stretch) {
        font.setStretch(stretch);
        if (widestCaption(font, captions) <= RegisterPage::kCaptionRoom)
            break;
    }
    return font;
}

} // namespace

TFrameRegister::TFrameRegister(RegisterPage& page, QWidget* parent)
    : TFrameBase(page, parent), m_register(page), m_captionFont(rowControlFont())
{
    resize(RegisterPage::kWidth, 571);
}

QLabel* TFrameRegister::label(int row) { return static_cast<QLabel*>(widget(RegisterPage::labelName(row))); }

QLineEdit* TFrameRegister::edit(int row) { return static_cast<QLineEdit*>(widget(RegisterPage::editName(row))); }

QFrame* TFrameRegister::panel() { return static_cast<QFrame*>(widget("pnl_cv")); }

void TFrameRegister::beforeRefresh()
{
    // The font follows the list; typing into a row changes neither.
    if (m_register.ListShown() == m_fontFor)
        return;
    m_fontFor = m_register.ListShown();
    QStringList captions;
    for (int row = 0; row < m_register.CvCount(); ++row)
        captions << QString::fromStdString(m_register.label(row).caption);
    m_captionFont = captions.isEmpty() ? rowControlFont() : fittingFont(captions);
    for (int row = 0; row < kRows; ++row)
        if (QWidget* w = madeWidget(RegisterPage::labelName(row)))
            w->setFont(m_captionFont);
}

void TFrameRegister::styleWidget(const Control& c, QWidget* w)
{
    // The rows keep their font whatever font the frame is given.
    if (c.kind == ControlKind::Label)
        w->setFont(m_captionFont);
    else if (c.kind == ControlKind::Edit)
        w->setFont(rowControlFont());
}
