#include "gui/pages/PageFrame.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionComboBox>

#include <algorithm>

#include "gui/common/ControlFont.h"
#include "gui/common/FileDialogs.h"
#include "gui/common/FitText.h"
#include "gui/common/QtText.h"
#include "gui/pages/PageImage.h"

using hz::gui::fromStd;
using hz::gui::toPath;
using hz::gui::toStd;
using hz::pages::Control;
using hz::pages::ControlKind;

PageFrame::PageFrame(hz::pages::Page& page, QWidget* parent) : QFrame(parent), m_page(page)
{
    setObjectName(QString::fromLatin1(page.objectName()));
}

QWidget* PageFrame::parentFor(const Control& c)
{
    if (c.parent.empty())
        return home();
    QWidget* p = widget(c.parent);
    return p ? p : home();
}

QWidget* PageFrame::widget(const std::string& name)
{
    const auto it = m_widgets.find(name);
    if (it != m_widgets.end())
        return it->second;
    const Control* c = m_page.find(name);
    if (!c)
        return nullptr;
    QWidget* w = make(*c);
    const bool was = Updating;
    Updating = true;
    apply(*c, w);
    Updating = was;
    return w;
}

QWidget* PageFrame::make(const Control& c)
{
    QWidget* parent = parentFor(c);
    QWidget* w = nullptr;
    switch (c.kind) {
    case ControlKind::Label: w = new QLabel(parent); break;
    case ControlKind::Edit: w = new QLineEdit(parent); break;
    case ControlKind::Check: w = new QCheckBox(parent); break;
    case ControlKind::Radio: w = new QRadioButton(parent); break;
    case ControlKind::TrackBar:
        if (c.geometry && c.geometry->width < c.geometry->height) {
            // A track bar narrower than high is the spinner beside an edit: only its arrows
            // show; the number stands in the edit, which the page keeps.
            auto* spin = new QSpinBox(parent);
            spin->setFocusPolicy(Qt::NoFocus);
            spin->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
            w = spin;
        } else {
            w = new QSlider(Qt::Horizontal, parent);
        }
        break;
    case ControlKind::List: w = new QComboBox(parent); break;
    case ControlKind::Button: w = new QPushButton(parent); break;
    case ControlKind::Group:
        if (c.caption.empty()) {
            auto* f = new QFrame(parent);
            // A panel over the window's own controls must hide them.
            f->setAutoFillBackground(true);
            // A group a few pixels narrow or low is a separator: drawn as a sunken line, not
            // only filled with the background colour, where it could not be seen.
            if (c.geometry && std::min(c.geometry->width, c.geometry->height) <= 3) {
                f->setFrameShape(c.geometry->width <= c.geometry->height ? QFrame::VLine : QFrame::HLine);
                f->setFrameShadow(QFrame::Sunken);
            }
            w = f;
        } else {
            w = new QGroupBox(parent);
        }
        break;
    case ControlKind::Image: w = new PageImage(parent); break;
    }
    w->setObjectName(fromStd(c.name));
    // Radio buttons of one group are exclusive by the model, not by Qt's auto-exclusivity,
    // which would also act on radio buttons of other groups that share the frame. Each stands
    // alone in a button group that is not exclusive, which takes that part from Qt; the button
    // itself stays auto-exclusive, for that is what announces it as a radio button to screen
    // readers (a checkable button that is not is announced as a check box).
    if (auto* r = qobject_cast<QRadioButton*>(w)) {
        auto* alone = new QButtonGroup(r);
        alone->setExclusive(false);
        alone->addButton(r);
    }
    m_widgets.emplace(c.name, w);
    connectEvents(c, w);
    return w;
}

void PageFrame::connectEvents(const Control& c, QWidget* w)
{
    const std::string name = c.name;
    // Every widget event reaches the model the same way: not while the frame writes its own
    // state into the widget, and followed by a refresh from the model.
    auto forward = [this](auto&& deliver) {
        return [this, deliver](auto... value) {
            if (Updating)
                return;
            deliver(value...);
            refresh();
            emit modelEvent();
        };
    };
    hz::pages::Page& page = m_page;
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        connect(e, &QLineEdit::textChanged, this,
                forward([&page, name](const QString& t) { page.userText(name, toStd(t)); }));
        // Leaving the field (focus out, Enter): it shows what the page stored where the page
        // kept another number than the one typed.
        connect(e, &QLineEdit::editingFinished, this, [this, &page, name] {
            if (Updating || !page.userLeave(name))
                return;
            refresh();
            emit modelEvent();
        });
    } else if (auto* cb = qobject_cast<QCheckBox*>(w))
        connect(cb, &QCheckBox::toggled, this, forward([&page, name](bool on) { page.userChecked(name, on); }));
    else if (auto* r = qobject_cast<QRadioButton*>(w))
        connect(r, &QRadioButton::clicked, this, forward([&page, name](bool) { page.userClick(name); }));
    else if (auto* b = qobject_cast<QPushButton*>(w); b && c.fileDialog != hz::pages::FileDialogKind::None)
        // The dialog's answer is the button's input; a cancelled dialog is none.
        connect(b, &QPushButton::clicked, this, forward([this, &page, name](bool) {
                    const Control* button = page.find(name);
                    if (!button || !m_dialogs)
                        return;
                    const QString filter = fromStd(button->fileFilter), suffix = fromStd(button->fileSuffix);
                    const QString path = button->fileDialog == hz::pages::FileDialogKind::Open
                                             ? m_dialogs->openFile(this, QString(), filter, suffix)
                                             : m_dialogs->saveFile(this, QString(), filter, suffix);
                    if (!path.isEmpty())
                        page.userFile(name, toPath(path));
                }));
    else if (b)
        connect(b, &QPushButton::clicked, this, forward([&page, name](bool) { page.userClick(name); }));
    else if (auto* sl = qobject_cast<QSlider*>(w))
        connect(sl, &QSlider::valueChanged, this, forward([&page, name](int v) { page.userPosition(name, v); }));
    else if (auto* sp = qobject_cast<QSpinBox*>(w))
        connect(sp, &QSpinBox::valueChanged, this, forward([&page, name](int v) { page.userPosition(name, v); }));
    else if (auto* co = qobject_cast<QComboBox*>(w))
        connect(co, &QComboBox::currentIndexChanged, this, forward([&page, name](int i) { page.userSelect(name, i); }));
    else if (auto* im = qobject_cast<PageImage*>(w))
        connect(im, &PageImage::mouse, this,
                forward([&page, name](hz::pages::MouseAction a, int x, int y) { page.userMouse(name, a, x, y); }));
}

void PageFrame::apply(const Control& c, QWidget* w)
{
    if (c.geometry)
        w->setGeometry(c.geometry->left, c.geometry->top, c.geometry->width, c.geometry->height);
    w->setToolTip(fromStd(c.hint));
    // A screen reader names a control by its caption. An edit has none: its hint, which the
    // screen reader reads as its description, tells what it holds.
    if (c.kind != ControlKind::Edit)
        w->setAccessibleName(fromStd(c.caption));
    w->setEnabled(c.enabled);
    if (c.background) {
        const QColor colour(c.background->r, c.background->g, c.background->b);
        QPalette p = w->palette();
        if (p.color(QPalette::Base) != colour) {
            p.setColor(QPalette::Base, colour);
            w->setPalette(p);
        }
    }
    switch (c.kind) {
    case ControlKind::Label: static_cast<QLabel*>(w)->setText(fromStd(c.caption)); break;
    case ControlKind::Image:
        if (c.geometry)
            static_cast<PageImage*>(w)->setDrawing(c.geometry->width, c.geometry->height, c.drawing);
        break;
    case ControlKind::Edit: {
        auto* e = static_cast<QLineEdit*>(w);
        e->setReadOnly(c.readOnly);
        if (e->text() != fromStd(c.text))
            e->setText(fromStd(c.text));
        break;
    }
    case ControlKind::Check:
        static_cast<QCheckBox*>(w)->setText(fromStd(c.caption));
        static_cast<QCheckBox*>(w)->setChecked(c.checked);
        break;
    case ControlKind::Radio:
        static_cast<QRadioButton*>(w)->setText(fromStd(c.caption));
        static_cast<QRadioButton*>(w)->setChecked(c.checked);
        break;
    case ControlKind::TrackBar:
        if (auto* spin = qobject_cast<QSpinBox*>(w)) {
            spin->setRange(c.min, c.max);
            spin->setValue(c.position);
        } else {
            auto* s = static_cast<QSlider*>(w);
            s->setRange(c.min, c.max);
            s->setValue(c.position);
        }
        break;
    case ControlKind::List: {
        auto* co = static_cast<QComboBox*>(w);
        QStringList items;
        for (const auto& i : c.items)
            items << fromStd(i);
        QStringList current;
        for (int k = 0; k < co->count(); ++k)
            current << co->itemText(k);
        if (current != items) {
            co->clear();
            co->addItems(items);
        }
        co->setCurrentIndex(c.selected);
        break;
    }
    case ControlKind::Button: static_cast<QPushButton*>(w)->setText(fromStd(c.caption)); break;
    case ControlKind::Group:
        if (auto* g = qobject_cast<QGroupBox*>(w))
            g->setTitle(fromStd(c.caption));
        break;
    }
    styleWidget(c, w);
    w->setVisible(c.visible);
}

void PageFrame::styleWidget(const Control& c, QWidget* w)
{
    if (m_pageFont)
        setFittingFont(c, w, *m_pageFont);
}

int PageFrame::textRoom(const Control& c) const
{
    if (!c.geometry)
        return 0;
    const int width = c.geometry->width;
    switch (c.kind) {
    case ControlKind::Check:
        return width - style()->pixelMetric(QStyle::PM_IndicatorWidth) -
               style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) - 2;
    case ControlKind::Radio:
        return width - style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth) -
               style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing) - 2;
    case ControlKind::List: {
        // The field beside the arrow, as the style lays it out; the text keeps a pixel of it
        // free at each side.
        QStyleOptionComboBox o;
        o.initFrom(this);
        o.rect = QRect(0, 0, width, c.geometry->height);
        o.editable = false;
        o.subControls = QStyle::SC_All;
        return style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField).width() - 2;
    }
    default: return width;
    }
}

namespace {

// The texts a control shows: its caption, or a list's items, one a line.
QString shownTexts(const Control& c)
{
    if (c.kind != ControlKind::List)
        return fromStd(c.caption);
    QStringList items;
    for (const auto& i : c.items)
        items << fromStd(i);
    return items.join(QLatin1Char('\n'));
}

} // namespace

QFont PageFrame::groupFont(const std::string& group, const QFont& font)
{
    std::vector<FitItem> items;
    QString key;
    for (const Control& member : m_page.controls()) {
        if (member.fontGroup != group)
            continue;
        const FitItem item{shownTexts(member), textRoom(member)};
        key += item.text + QLatin1Char('\t') + QString::number(item.room) + QLatin1Char('\t');
        items.push_back(item);
    }
    auto& cached = m_groupFonts[group];
    if (cached.texts != key || key.isEmpty()) {
        cached.texts = key;
        cached.font = SharedFittingFont(font, items);
    }
    return cached.font;
}

void PageFrame::setFittingFont(const Control& c, QWidget* w, const QFont& font)
{
    if (!c.fontGroup.empty()) {
        w->setFont(groupFont(c.fontGroup, font));
        return;
    }
    // A list: its widest item decides. An edit's text is a value, not a caption to fit.
    const QString text = c.kind == ControlKind::Edit ? QString() : shownTexts(c);
    const int room = textRoom(c);
    w->setFont(text.isEmpty() || room <= 0 ? font : FittingFont(font, text, room));
}

void PageFrame::refresh()
{
    beforeRefresh();
    const bool was = Updating;
    Updating = true;
    for (const Control& c : m_page.controls()) {
        if (c.stamp <= m_seen)
            continue;
        const auto it = m_widgets.find(c.name);
        if (it != m_widgets.end())
            apply(c, it->second);
        else if (c.visible)
            apply(c, make(c));
    }
    m_seen = m_page.stamp();
    Updating = was;
    if (!m_page.focusRequest.empty()) {
        QWidget* w = widget(m_page.focusRequest);
        m_page.focusRequest.clear();
        // A hidden field cannot take the focus.
        if (w && w->isVisibleTo(home()))
            w->setFocus(Qt::OtherFocusReason);
    }
}
