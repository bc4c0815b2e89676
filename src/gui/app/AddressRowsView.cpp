#include "gui/app/AddressRowsView.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

#include "core/Session.h"
#include "gui/app/ControlFont.h"
#include "gui/app/QtText.h"

using hz::gui::fromStd;
using hz::gui::toStd;

namespace {

constexpr int kCaptionWidth = 100, kCaptionHeight = 20;
constexpr int kAddressWidth = 40, kAddressHeight = 20;
constexpr int kFunctionWidth = 30, kFunctionHeight = 20;
constexpr int kRgWidth = 30, kRgHeight = 16;

} // namespace

AddressRowsView::AddressRowsView(hz::Session& session) : m_session(session) { m_colours.fill(Qt::white); }

void AddressRowsView::attach(QGroupBox* box, QLabel* header)
{
    m_box = box;
    m_header = header;
}

AddressRowControls& AddressRowsView::row(int k)
{
    if (!made(k))
        make(k);
    return m_rows[static_cast<std::size_t>(k)];
}

AddressRowControls* AddressRowsView::begin()
{
    for (int k = 0; k < kRows; ++k)
        row(k);
    return m_rows.data();
}

void AddressRowsView::make(int k)
{
    static const QString functionHint = QStringLiteral("Funktion Nummer");
    static const QString rgHint = QString::fromUtf8("Wechsel zwischen ROTer und GRÜNer Adresse ");
    const QFont rowFont = rowControlFont();
    const auto i = static_cast<std::size_t>(k);
    AddressRowControls& r = m_rows[i];
    r.caption = new QLabel(fromStd(m_session.ident.Captions[i]), m_box);
    r.caption->setObjectName(QStringLiteral("lbl_adr_%1").arg(k));
    r.address = new QLineEdit(m_box);
    r.address->setObjectName(QStringLiteral("edt_adr_%1").arg(k));
    r.function = new QLineEdit(m_box);
    r.function->setObjectName(QStringLiteral("edt_fkt_%1").arg(k));
    r.function->setToolTip(functionHint);
    r.rg = new QPushButton(QStringLiteral("R/G"), m_box);
    r.rg->setObjectName(QStringLiteral("btn_RG_%1").arg(k));
    r.rg->setToolTip(rgHint);
    for (QWidget* w : {static_cast<QWidget*>(r.caption), static_cast<QWidget*>(r.address),
                       static_cast<QWidget*>(r.function), static_cast<QWidget*>(r.rg)}) {
        w->setFont(rowFont);
        w->hide();
    }
    const Place& p = m_places[i];
    const QString caption = r.caption->text();
    r.caption->setGeometry(p.caption.x(), p.caption.y(), caption.isEmpty() ? 0 : r.caption->sizeHint().width(),
                           kCaptionHeight);
    r.address->setGeometry(p.address.x(), p.address.y(), kAddressWidth, kAddressHeight);
    r.function->setGeometry(p.function.x(), p.function.y(), kFunctionWidth, kFunctionHeight);
    r.rg->setGeometry(p.rg.x(), p.rg.y(), kRgWidth, kRgHeight);
    if (m_colours[i] != QColor(Qt::white)) {
        QPalette pal = r.address->palette();
        pal.setColor(QPalette::Base, m_colours[i]);
        r.address->setPalette(pal);
    }
    QObject::connect(r.rg, &QPushButton::clicked, m_box, [this, k] {
        if (onRgClick)
            onRgClick(k);
    });
}

void AddressRowsView::syncCaptions()
{
    for (int k = 0; k < kRows; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const QString text = fromStd(m_session.ident.Captions[i]);
        if (!made(k) && text.isEmpty())
            continue;
        QLabel* l = row(k).caption;
        if (l->text() != text)
            l->setText(text);
        // The caption label sizes itself to its text.
        l->resize(text.isEmpty() ? 0 : l->sizeHint().width(), kCaptionHeight);
    }
}

void AddressRowsView::LayoutRows(int columnBreak, int gap)
{
    syncCaptions();
    int widest = 0;
    for (int k = 1; k < kRows; ++k)
        if (made(k))
            widest = std::max(widest, m_rows[static_cast<std::size_t>(k)].caption->width());
    const hz::RowLayout layout = hz::LayoutAddressRows(columnBreak, gap, widest);
    m_header->setVisible(layout.headerShown);
    for (int k = 1; k < kRows; ++k) {
        const hz::RowPlace& p = layout.places[static_cast<std::size_t>(k)];
        m_places[static_cast<std::size_t>(k)] = {QPoint(p.captionX, p.captionY), QPoint(p.addressX, p.addressY),
                                                 QPoint(p.functionX, p.functionY), QPoint(p.rgX, p.rgY)};
        if (!made(k))
            continue;
        AddressRowControls& r = m_rows[static_cast<std::size_t>(k)];
        r.caption->move(m_places[static_cast<std::size_t>(k)].caption);
        r.address->move(m_places[static_cast<std::size_t>(k)].address);
        r.function->move(m_places[static_cast<std::size_t>(k)].function);
        r.rg->move(m_places[static_cast<std::size_t>(k)].rg);
    }
}

void AddressRowsView::ShowRows()
{
    syncCaptions();
    const auto& id = m_session.ident;
    for (int k = 0; k < kRows; ++k) {
        if (!id.hasCaption(k)) {
            if (made(k)) {
                hideRow(k);
                m_rows[static_cast<std::size_t>(k)].address->setToolTip(QString());
            }
            continue;
        }
        AddressRowControls& r = row(k);
        r.caption->show();
        r.address->show();
        // A row without EEPROM room of its own is neither loaded nor saved: show it, but
        // let nobody type an address that would go nowhere.
        const bool stored = hz::AddressPage::hasStorage(k);
        r.address->setEnabled(stored);
        r.function->setEnabled(stored);
        r.rg->setVisible(id.RedGreen);
        r.function->setVisible(!id.RedGreen);
        r.address->setToolTip(fromStd(m_session.addresses.AddressHint(k)));
        r.function->setToolTip(fromStd(m_session.addresses.FunctionHint(k)));
    }
}

void AddressRowsView::hideRow(int k)
{
    AddressRowControls& r = m_rows[static_cast<std::size_t>(k)];
    for (QWidget* w : {static_cast<QWidget*>(r.caption), static_cast<QWidget*>(r.address),
                       static_cast<QWidget*>(r.function), static_cast<QWidget*>(r.rg)})
        w->hide();
}

void AddressRowsView::HideAllRows()
{
    for (int k = 0; k < kRows; ++k)
        if (made(k))
            hideRow(k);
}

void AddressRowsView::ColourRows()
{
    for (int k = 0; k < kRows; ++k) {
        const auto i = static_cast<std::size_t>(k);
        QColor c = Qt::white;
        if (m_session.ident.RedGreen)
            c = m_session.addresses.RowState[i] == 1 ? QColor(0, 255, 0) : QColor(255, 0, 0);
        m_colours[i] = c;
        if (!made(k))
            continue;
        QLineEdit* e = m_rows[i].address;
        QPalette p = e->palette();
        if (p.color(QPalette::Base) != c) {
            p.setColor(QPalette::Base, c);
            e->setPalette(p);
        }
    }
}

void AddressRowsView::RowTextsChanged(int r)
{
    if (r < 0 || r >= kRows)
        return;
    const auto i = static_cast<std::size_t>(r);
    const QString address = fromStd(m_session.addresses.AddressText[i]);
    const QString function = fromStd(m_session.addresses.FunctionText[i]);
    if (!made(r) && address.isEmpty() && function.isEmpty())
        return;
    row(r).address->setText(address);
    row(r).function->setText(function);
}

void AddressRowsView::FocusRow(int r, bool functionField)
{
    if (r < 0 || r >= kRows)
        return;
    QLineEdit* e = functionField ? row(r).function : row(r).address;
    // A hidden field cannot take the focus (format "ohne": the rows are hidden).
    if (e->isVisibleTo(m_box->window()))
        e->setFocus(Qt::OtherFocusReason);
}

void AddressRowsView::CopyTextsToSession()
{
    auto& page = m_session.addresses;
    for (int k = 0; k < kRows; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const std::string address = made(k) ? toStd(m_rows[i].address->text()) : std::string();
        const std::string function = made(k) ? toStd(m_rows[i].function->text()) : std::string();
        // Rows the page offers go through its one door for typed input, as the tool's do;
        // the fields of the others hold nothing the firmware keeps.
        std::string refused;
        if (!page.TypeRow(k, address, m_session.ident.FunctionDecoder ? &function : nullptr, nullptr, refused)) {
            page.AddressText[i] = address;
            page.FunctionText[i] = function;
        }
    }
}
