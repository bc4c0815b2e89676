#include "pages/Frame_register.h"

#include "app/ControlFont.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "firmware/HexText.h"
#include "pages/CvLists.h"

namespace {

// Rows run down a column; a new column 230 pixels further right begins after these rows. The
// longest list (73 rows) ends in the fourth column; the fifth one, for rows 81 and up, lies
// outside the frame and is never filled.
constexpr int kColumnEnds[] = {20, 41, 62, 80};
constexpr int kColumnStep = 230;
constexpr int kLabelWidth = 100;
// A caption may run on up to 5 pixels before the edit field of its row (at column x + 180).
constexpr int kLabelMaxWidth = 175;

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

    int x = 5;
    int k = 0; // row within the current column
    for (int row = 0; row < kRows; ++row) {
        auto* lbl = new QLabel(pnl_cv);
        lbl->setObjectName(QStringLiteral("cv_label_%1").arg(row));
        lbl->setFont(rowControlFont());
        lbl->setGeometry(x, 19 + 25 * k, kLabelWidth, 20);
        lbl->hide();

        auto* edt = new QLineEdit(pnl_cv);
        edt->setObjectName(QStringLiteral("cv_edit_%1").arg(row));
        edt->setFont(rowControlFont());
        edt->setGeometry(x + 180, 15 + 25 * k, 40, 20);
        edt->hide();
        connect(edt, &QLineEdit::textChanged, this, [this, edt] { CvEditChange(edt); });

        m_labels[static_cast<std::size_t>(row)] = lbl;
        m_edits[static_cast<std::size_t>(row)] = edt;

        ++k;
        for (int end : kColumnEnds) {
            if (row == end) {
                x += kColumnStep;
                k = 0;
            }
        }
    }
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
    for (int row = 0; row < kRows; ++row) {
        m_labels[static_cast<std::size_t>(row)]->setText(QString());
        m_labels[static_cast<std::size_t>(row)]->resize(kLabelWidth, 20);
        m_labels[static_cast<std::size_t>(row)]->hide();
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
        for (int row = 0; row < n; ++row) {
            const auto& entry = list[static_cast<std::size_t>(row)];
            // The captions are wider than the 100 pixels a row label is laid out with; like a
            // label that sizes itself to its text, it grows, so "CV186: Ausschaltverzögerung
            // OUT1" is not cut down to "CV186: Auss", but it stops short of the edit field.
            QLabel* lbl = m_labels[static_cast<std::size_t>(row)];
            lbl->setText(QString::fromStdString(entry.caption));
            lbl->resize(std::clamp(lbl->sizeHint().width(), kLabelWidth, kLabelMaxWidth), 20);
            m_cvAddress[static_cast<std::size_t>(row)] = entry.address;
        }
        m_cvCount = n;
    }
    for (int row = 0; row < m_cvCount; ++row) {
        const int value = hz::HexByteValue(m_session.image.get_Hex_EE(m_cvAddress[static_cast<std::size_t>(row)]));
        m_edits[static_cast<std::size_t>(row)]->setText(QString::number(value));
    }
    Updating = false;
    for (int row = 0; row < kRows; ++row) {
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
