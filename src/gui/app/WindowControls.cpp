#include "gui/app/WindowControls.h"

#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include <algorithm>

#include "core/StatusTexts.h"
#include "core/editor/WindowLayout.h"
#include "gui/app/ElidedButton.h"
#include "gui/app/LinkPicture.h"
#include "gui/common/FitText.h"
#include "gui/common/MessageBoxPrompter.h"
#include "gui/common/QtText.h"

using hz::gui::fromStd;
using hz::gui::hintText;

namespace {

// The places and sizes of the lower controls come from core/editor/WindowLayout
// (ArrangeWindow), for every arrangement including the first.
// The hint of the empty window, in the address group box below where the header stands.
constexpr int kStartHintLeft = 10;
constexpr int kStartHintTop = 50;
constexpr int kStartHintWidth = 380;
constexpr int kStartHintHeight = 60;
// The status bar's panels: the first three fixed, the file's panel at least this wide.
constexpr int kPanelWidths[4] = {35, 50, 50, 250};
// What the status bar takes besides its panels: its margins and the spacing between them.
constexpr int kStatusSpacing = 40;
// What a caption's drawn pixels keep free at each side of its button: the frame's pixel and
// three of air.
constexpr int kCaptionSide = 4;

// The buttons keep the widths the window gives them; a caption whose ink would come closer to
// a button's frame gets a smaller font instead (the window's font else). The ink, not the
// advance: "<" and ">" draw nearly their whole advance, and with the advance alone they ran
// up to the frames of their 15-pixel buttons.
void fitCaption(QPushButton* b, const QFont& font)
{
    b->setFont(FittingFont(font, b->text(), b->width() - 2 * kCaptionSide, 85, FitMeasure::Ink));
}

} // namespace

void WindowControls::createControls()
{
    central = new QWidget(&m_window);
    central->setObjectName(QStringLiteral("central"));
    m_window.setCentralWidget(central);

    GroupBoxMain = new QGroupBox(central);
    GroupBoxMain->setObjectName(QStringLiteral("GroupBoxMain"));

    lbl_header = new QLabel(GroupBoxMain);
    lbl_header->setObjectName(QStringLiteral("lbl_header"));
    QFont hf = lbl_header->font();
    hf.setPixelSize(20);
    lbl_header->setFont(hf);
    lbl_header->move(10, 18);

    // The empty window says how to get a file into it; the address rows and pages take the
    // place once one is loaded.
    lbl_start = new QLabel(QString::fromUtf8("HEX-Datei laden: mit „HEX laden“ oder indem Sie eine .hex-Datei auf "
                                             "das Fenster ziehen."),
                           GroupBoxMain);
    lbl_start->setObjectName(QStringLiteral("lbl_start"));
    lbl_start->setWordWrap(true);
    lbl_start->setGeometry(kStartHintLeft, kStartHintTop, kStartHintWidth, kStartHintHeight);

    GroupBoxButtons = new QGroupBox(central);
    GroupBoxButtons->setObjectName(QStringLiteral("GroupBoxButtons"));

    auto button = [](QWidget* parent, const char* name, const char* caption, const char* hint) {
        auto* b = new QPushButton(QString::fromUtf8(caption), parent);
        b->setObjectName(QString::fromLatin1(name));
        if (hint)
            b->setToolTip(hintText(hint));
        return b;
    };
    btn_prev = button(GroupBoxButtons, "btn_prev", "<", "Vorherige HEX-Datei im Ordner laden");
    btn_load = button(GroupBoxButtons, "btn_load", "HEX laden",
                      "Hex-File laden.\r\nAnschliessend können Parameter wie z.B. die Adressen geändert werden.");
    btn_next = button(GroupBoxButtons, "btn_next", ">", "Nächste HEX-Datei im Ordner laden");
    btn_save = button(GroupBoxButtons, "btn_save", "speichern",
                      "Hex-File speichern\r\nDas neue HEX-File kann dann in den PIC 'gebrannt' werden");
    btn_info = button(GroupBoxButtons, "btn_info", "HEX Info", "Anzeige der HEX-Daten");
    btn_close = button(GroupBoxButtons, "btn_close", "Ende",
                       "Programm beenden\r\n(mit Nachfrage, wenn Änderungen nicht gespeichert sind)");
    for (QPushButton* b : {btn_save, btn_close}) {
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
    }

    ProgressBar1 = new QProgressBar(GroupBoxButtons);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    // An empty bar looks like an input field: it shows only while a load decodes.
    ProgressBar1->hide();

    GroupBoxImage = new QGroupBox(central);
    GroupBoxImage->setObjectName(QStringLiteral("GroupBoxImage"));
    GroupBoxImage->setCursor(Qt::PointingHandCursor);
    Image2 = new QLabel(GroupBoxImage);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(hz::gui::makeLinkPicture(kImageWidth, kImageHeight));
    Image2->resize(kImageWidth, kImageHeight);
    Image2->setToolTip(QStringLiteral("Zur WebSite"));
    Image2->setCursor(Qt::PointingHandCursor);

    btn_goweb = new ElidedButton(central);
    btn_goweb->setObjectName(QStringLiteral("btn_goweb"));
    btn_goweb->setToolTip(hintText("Gehe auf die WebSite zu dieser Software-Variante"));

    StatusBar1 = new QStatusBar(&m_window);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setToolTip(QStringLiteral("Anzeige der HEX-Version und des Namens"));
    // The last panel holds the file's path and the PIC suffix after it: it keeps at least its
    // 250 pixels and takes whatever width the window has beyond the other three.
    for (int i = 0; i < 4; ++i) {
        auto* l = new QLabel(StatusBar1);
        l->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        if (i < 3) {
            l->setFixedWidth(kPanelWidths[i]);
            StatusBar1->addWidget(l);
        } else {
            l->setMinimumWidth(kPanelWidths[i]);
            // a long path must not widen the window: the explicit minimum holds
            l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            StatusBar1->addWidget(l, 1);
        }
        StatusPanels[static_cast<std::size_t>(i)] = l;
    }
    StatusTypePanel = new QLabel(StatusBar1);
    StatusTypePanel->setObjectName(QStringLiteral("StatusPanelType"));
    StatusTypePanel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    StatusBar1->addPermanentWidget(StatusTypePanel);
    StatusTypePanel->hide(); // until a type is identified
    // The window keeps the size its page asks for: nothing to drag.
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setFixedHeight(StatusBar1->sizeHint().height());
    m_window.setStatusBar(StatusBar1);
}

void WindowControls::ArrangeWindow(int left, int right, int height, int width)
{
    // Where everything stands comes from the core, which the browser's page draws from too.
    const hz::WindowLayout layout = hz::ArrangeWindow({left, right, height, width});
    auto place = [&layout](QWidget* w, const char* name) {
        if (const hz::WindowLayout::Place* p = layout.find(name))
            w->setGeometry(p->geometry.left, p->geometry.top, p->geometry.width, p->geometry.height);
    };
    place(GroupBoxMain, "GroupBoxMain");

    m_window.setMinimumSize(0, 0);
    m_window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // The menu bar lies above the client area, which keeps its size.
    const int menu = m_window.menuWidget() ? m_window.menuWidget()->sizeHint().height() : 0;
    m_window.resize(layout.width, menu + layout.height + StatusBar1->height());
    // Neither smaller than the page nor larger: nothing on it grows.
    m_window.setFixedSize(m_window.size());

    place(btn_prev, "btn_prev");
    place(btn_load, "btn_load");
    place(btn_next, "btn_next");
    place(btn_save, "btn_save");
    place(btn_info, "btn_info");
    place(btn_close, "btn_close");
    for (QPushButton* b : {btn_prev, btn_next, btn_info})
        fitCaption(b, GroupBoxButtons->font());
    place(ProgressBar1, "ProgressBar1");
    place(GroupBoxButtons, "GroupBoxButtons");
    place(GroupBoxImage, "GroupBoxImage");
    place(Image2, "Image2");
    place(btn_goweb, "btn_goweb");
    fitTypePanel();
}

void WindowControls::showStatus(const hz::StatusPanels& status)
{
    for (std::size_t i = 0; i < 4; ++i)
        StatusPanels[i]->setText(fromStd(status.text[i]));
    m_typeText = fromStd(status.type);
    fitTypePanel();
}

void WindowControls::fitTypePanel()
{
    if (m_typeText.isEmpty()) {
        StatusTypePanel->clear();
        StatusTypePanel->setToolTip({});
        StatusTypePanel->hide();
        return;
    }
    const QFontMetrics metrics = StatusTypePanel->fontMetrics();
    const int margin = 2 * metrics.averageCharWidth();
    // What the four panels keep (panel 3 at least its 250 pixels), less the bar's spacing.
    int room = m_window.width() - kStatusSpacing;
    for (int w : kPanelWidths)
        room -= w;
    room = std::max(0, room);
    const int wanted = metrics.horizontalAdvance(m_typeText) + margin;
    const int width = std::min(wanted, room);
    const QString shown =
        wanted <= room ? m_typeText : metrics.elidedText(m_typeText, Qt::ElideRight, std::max(0, width - margin));
    StatusTypePanel->setText(shown);
    StatusTypePanel->setToolTip(shown == m_typeText ? QString() : m_typeText);
    StatusTypePanel->setFixedWidth(width);
    StatusTypePanel->show();
    // The bar's panels are laid out anew for the panel's width, not only when the window shows.
    if (QLayout* panels = StatusBar1->layout()) {
        panels->invalidate();
        panels->activate();
    }
}

void WindowControls::showProgress(int maximum, int position)
{
    ProgressBar1->show();
    if (ProgressBar1->maximum() != maximum)
        ProgressBar1->setRange(0, maximum);
    ProgressBar1->setValue(std::clamp(position, 0, std::max(0, maximum)));
}

void WindowControls::endProgress(bool fileLoaded)
{
    ProgressBar1->setValue(0);
    ProgressBar1->hide();
    lbl_start->setVisible(!fileLoaded);
}

void WindowControls::showHeader(const std::string& name)
{
    QFont f = lbl_header->font();
    f.setPointSize(15);
    lbl_header->setFont(f);
    lbl_header->setText(fromStd(name));
    lbl_header->adjustSize();
    for (int size : {13, 11, 10, 9}) {
        if (lbl_header->width() > GroupBoxMain->width()) {
            f.setPointSize(size);
            lbl_header->setFont(f);
            lbl_header->adjustSize();
        }
    }
}
