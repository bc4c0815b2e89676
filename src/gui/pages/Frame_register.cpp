#include "pages/Frame_register.h"

#include "app/ControlFont.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <algorithm>

#include "firmware/HexText.h"
#include "pages/register/CvLists.h"

namespace {

// Rows run down a column; a new column 230 pixels further right begins after these rows. The
// longest list (73 rows) ends in the fourth column; the fifth one, for rows 81 and up, lies
// outside the frame and is never filled.
constexpr int kColumnEnds[] = {20, 41, 62, 80};
constexpr int kColumnStep = 230;
constexpr int kLabelWidth = 100;
// A caption may run on up to 5 pixels before the edit field of its row (at column x + 180).
constexpr int kLabelMaxWidth = 175;
// How far a list's captions may shrink to fit: half points down to 7 pt, then narrower glyphs
// down to 90 % of their width. Smaller than that is no longer comfortable to read.
constexpr qreal kMinCaptionPoints = 7.0;
constexpr int kMinCaptionStretch = 90;

// Column and row within the column of a row of the page.
struct Place {
    int x, k;
};

Place placeOf(int row)
{
    int column = 0;
    for (int end : kColumnEnds)
        if (row > end)
            ++column;
    const int firstOfColumn = column == 0 ? 0 : kColumnEnds[column - 1] + 1;
    return {5 + kColumnStep * column, row - firstOfColumn};
}

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
QFont captionFont(const QStringList& captions)
{
    QFont font = rowControlFont();
    for (qreal size = font.pointSizeF(); size >= kMinCaptionPoints; size -= 0.5) {
        font.setPointSizeF(size);
        if (widestCaption(font, captions) <= kLabelMaxWidth)
            return font;
    }
    font.setPointSizeF(kMinCaptionPoints);
    for (int stretch = 99; stretch >= kMinCaptionStretch; --stretch) {
        font.setStretch(stretch);
        if (widestCaption(font, captions) <= kLabelMaxWidth)
            break;
    }
    return font;
}

} // namespace

TFrameRegister::TFrameRegister(hz::Session& session, QWidget* parent)
    : QFrame(parent), m_session(session)
{
    resize(940, 571);

    pnl_cv = new QFrame(this);
    pnl_cv->setObjectName("pnl_cv");
    pnl_cv->setGeometry(rect());
    // The page lies over the (empty) address area and its header: it must hide them.
    pnl_cv->setAutoFillBackground(true);

    const auto makeLine = [this](const char* name) {
        auto* line = new QFrame(pnl_cv);
        line->setObjectName(name);
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        return line;
    };
    Line1 = makeLine("Line1");
    Line2 = makeLine("Line2");
    Line3 = makeLine("Line3");
    placeSeparators();
}

void TFrameRegister::makeRows(int count)
{
    count = std::min(count, kRows);
    for (int row = m_rowsMade; row < count; ++row) {
        const Place p = placeOf(row);
        auto* lbl = new QLabel(pnl_cv);
        lbl->setObjectName(QStringLiteral("cv_label_%1").arg(row));
        lbl->setFont(rowControlFont());
        lbl->setGeometry(p.x, 19 + 25 * p.k, kLabelWidth, 20);
        lbl->hide();

        auto* edt = new QLineEdit(pnl_cv);
        edt->setObjectName(QStringLiteral("cv_edit_%1").arg(row));
        edt->setFont(rowControlFont());
        edt->setGeometry(p.x + 180, 15 + 25 * p.k, 40, 20);
        edt->hide();
        connect(edt, &QLineEdit::textChanged, this, [this, edt] { CvEditChange(edt); });

        m_labels[static_cast<std::size_t>(row)] = lbl;
        m_edits[static_cast<std::size_t>(row)] = edt;
    }
    m_rowsMade = std::max(m_rowsMade, count);
}

QLabel* TFrameRegister::label(int row)
{
    makeRows(row + 1);
    return m_labels[static_cast<std::size_t>(row)];
}

QLineEdit* TFrameRegister::edit(int row)
{
    makeRows(row + 1);
    return m_edits[static_cast<std::size_t>(row)];
}

void TFrameRegister::placeSeparators()
{
    const int h = pnl_cv->height() - 1;
    Line1->setGeometry(230, 8, 2, h);
    Line2->setGeometry(460, 8, 2, h);
    Line3->setGeometry(690, 8, 2, h);
}

void TFrameRegister::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    pnl_cv->setGeometry(rect());
    // The page lies over the (empty) address area and its header: it must hide them.
    pnl_cv->setAutoFillBackground(true);
    placeSeparators();
}

void TFrameRegister::ResetRows()
{
    Updating = true;
    pnl_cv->setGeometry(rect());
    // The page lies over the (empty) address area and its header: it must hide them.
    pnl_cv->setAutoFillBackground(true);
    pnl_cv->setVisible(true);
    // Rows not made yet are empty and hidden already.
    for (int row = 0; row < m_rowsMade; ++row) {
        QLabel* lbl = m_labels[static_cast<std::size_t>(row)];
        lbl->setText(QString());
        lbl->setToolTip(QString());
        lbl->setFont(rowControlFont());
        lbl->resize(kLabelWidth, 20);
        lbl->hide();
        m_edits[static_cast<std::size_t>(row)]->hide();
    }
    m_cvCount = 0;
    placeSeparators();
    Updating = false;
}

void TFrameRegister::ShowCvList()
{
    Updating = true;
    const auto& list = hz::CvListFor(m_session.ident.Identifier);
    if (!list.empty()) {
        const int n = std::min(static_cast<int>(list.size()), kRows);
        makeRows(n);
        QStringList captions;
        for (int row = 0; row < n; ++row)
            captions << QString::fromStdString(list[static_cast<std::size_t>(row)].caption);
        const QFont font = captionFont(captions);
        for (int row = 0; row < n; ++row) {
            const auto& entry = list[static_cast<std::size_t>(row)];
            const QString& caption = captions[row];
            // A caption is wider than the 100 pixels a row label is laid out with; like a
            // label that sizes itself to its text, it grows, but it stops short of the edit
            // field.
            QLabel* lbl = m_labels[static_cast<std::size_t>(row)];
            lbl->setFont(font);
            lbl->setText(caption);
            lbl->setToolTip(caption);
            const int width = std::max(lbl->sizeHint().width(), lbl->fontMetrics().horizontalAdvance(caption));
            lbl->resize(std::clamp(width, kLabelWidth, kLabelMaxWidth), 20);
            m_cvAddress[static_cast<std::size_t>(row)] = entry.address;
        }
        m_cvCount = n;
    }
    for (int row = 0; row < m_cvCount; ++row) {
        const int value = hz::HexByteValue(m_session.image.get_Hex_EE(m_cvAddress[static_cast<std::size_t>(row)]));
        m_edits[static_cast<std::size_t>(row)]->setText(QString::number(value));
    }
    Updating = false;
    for (int row = 0; row < m_rowsMade; ++row) {
        const bool used = !m_labels[static_cast<std::size_t>(row)]->text().isEmpty();
        m_labels[static_cast<std::size_t>(row)]->setVisible(used);
        m_edits[static_cast<std::size_t>(row)]->setVisible(used);
    }
}

void TFrameRegister::CvEditChange(QLineEdit* sender)
{
    if (Updating)
        return;
    int row = -1;
    for (int k = 0; k < m_cvCount; ++k) {
        if (m_edits[static_cast<std::size_t>(k)] == sender) {
            row = k;
            break;
        }
    }
    // A field of a row not in use has nothing behind it in the image.
    if (row < 0)
        return;
    const auto result = hz::ApplyCvEdit(m_session.image, m_session.prompter(),
                                        m_cvAddress[static_cast<std::size_t>(row)],
                                        sender->text().toStdString());
    if (result == hz::CvEditResult::Refused && sender->isVisible())
        sender->setFocus();
}
