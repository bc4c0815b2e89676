#include "app/TFormMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLinearGradient>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <exception>

#include "app/ControlFont.h"
#include "app/MessageBoxPrompter.h"
#include "app/Settings.h"
#include "catalogue/Catalogue.h"
#include "pages/Frame_register.h"

using hz::gui::hintText;

namespace {

// Heights and fixed sizes of the lower controls as the window was designed; ArrangeWindow
// only moves them and sets the widths of the four wide buttons.
constexpr int kButtonTop = 16;
constexpr int kButtonHeight = 25;
constexpr int kArrowWidth = 15; // "<" and ">": with 15 the button group is exactly the page width
constexpr int kInfoHeight = 24;
constexpr int kCloseTop = 40;
constexpr int kProgressTop = 49;
constexpr int kProgressHeight = 17;
constexpr int kButtonGroupHeight = 74;
constexpr int kGowebHeight = 25;

constexpr int kCaptionWidth = 100, kCaptionHeight = 20;
constexpr int kAddressWidth = 40, kAddressHeight = 20;
constexpr int kFunctionWidth = 30, kFunctionHeight = 20;
constexpr int kRgWidth = 30, kRgHeight = 16;

QString fromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

std::string toStd(const QString& s)
{
    const QByteArray b = s.toUtf8();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

// Path texts go to the core in the file system's encoding.
std::string toPath(const QString& s)
{
    const QByteArray b = QFile::encodeName(s);
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

// The picture of the home page link: a twirl and the program's name.
QPixmap makeLinkPicture()
{
    QPixmap pm(TFormMain::kImageWidth, TFormMain::kImageHeight);
    pm.fill(Qt::white);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, TFormMain::kImageWidth, 0);
    g.setColorAt(0.0, QColor(0x12, 0x3C, 0x69));
    g.setColorAt(1.0, QColor(0x1E, 0x88, 0x8C));
    p.fillRect(pm.rect(), g);
    // An Archimedean spiral: the "Zwirbel".
    QPainterPath spiral;
    const double cx = 16.0, cy = 16.0;
    for (int i = 0; i <= 120; ++i) {
        const double t = i * 0.1;
        const double r = 1.1 * t;
        const QPointF pt(cx + r * std::cos(t), cy + r * std::sin(t));
        if (i == 0)
            spiral.moveTo(pt);
        else
            spiral.lineTo(pt);
    }
    p.setPen(QPen(QColor(0xF5, 0xC2, 0x42), 2.0));
    p.drawPath(spiral);
    QFont f = QApplication::font();
    f.setBold(true);
    f.setPixelSize(17);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(36, 0, TFormMain::kImageWidth - 40, TFormMain::kImageHeight), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("HEX Zwirbel"));
    return pm;
}

QFrame* makeFrame(QWidget* parent, const char* name)
{
    auto* f = new QFrame(parent);
    f->setObjectName(QString::fromLatin1(name));
    f->hide();
    return f;
}

// The accept button of a page that keeps a working copy; disabled while nothing is pending.
QPushButton* makeAcceptButton(QFrame* frame, const char* name, const char* caption, QRect geometry)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), frame);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(geometry);
    b->setEnabled(false);
    b->hide();
    return b;
}

} // namespace

TFormMain::TFormMain(hz::gui::MainWindowServices services, QWidget* parent)
    : QMainWindow(parent),
      m_ownPrompter(services.prompter ? nullptr : std::make_unique<hz::gui::MessageBoxPrompter>(this)),
      m_prompter(services.prompter ? services.prompter : m_ownPrompter.get()),
      session(*m_prompter),
      m_services(std::move(services))
{
    session.setView(this);
    if (m_services.dialogs) {
        m_dialogs = m_services.dialogs;
    } else {
        m_ownDialogs = std::make_unique<hz::gui::QtFileDialogs>();
        m_dialogs = m_ownDialogs.get();
    }
    m_settingsPath = m_services.settingsPath.isEmpty() ? SettingsFilePath() : m_services.settingsPath;

    setObjectName(QStringLiteral("FormMain"));
    createControls();

    // Start-up, in the order the firmware editor has always done it.
    setWindowTitle(QStringLiteral("Hex Zwirbel 2020-06-02"));
    refreshStatus(); // panel 3: " HEX Zwirbel "
    move(20, 20);
    setMinimumSize(750, 630);
    resize(750, 630);

    createAddressRows();

    btn_save->setEnabled(false);
    session.ident.Mot = false;
    session.ident.DCC = false;
    session.ident.NoAddressInput = false;
    session.image.PicModel = 0;

    GroupBoxMain->setGeometry(5, 5, 400, 475);
    lbl_header->setText(QStringLiteral("Hex Zwirbel"));
    lbl_header->adjustSize();
    session.ident.DocPage = hz::kProgramPage;
    btn_goweb->setText(QString::fromLatin1(hz::kProgramPage));

    const SettingsValues settings = ReadSettings(m_settingsPath);
    RasterX = settings.rasterX;
    RasterY = settings.rasterY;
    resize(settings.width, height());
    move(x(), settings.top);
    move(settings.left, y());
    session.image.LastFileName = toPath(settings.lastFileName);

    ResetLayout();
    connectHandlers();
}

TFormMain::~TFormMain()
{
    session.setView(nullptr);
}

void TFormMain::createControls()
{
    central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));
    setCentralWidget(central);

    GroupBoxMain = new QGroupBox(central);
    GroupBoxMain->setObjectName(QStringLiteral("GroupBoxMain"));

    lbl_header = new QLabel(GroupBoxMain);
    lbl_header->setObjectName(QStringLiteral("lbl_header"));
    QFont hf = lbl_header->font();
    hf.setPixelSize(20);
    lbl_header->setFont(hf);
    lbl_header->move(10, 18);

    GroupBoxButtons = new QGroupBox(central);
    GroupBoxButtons->setObjectName(QStringLiteral("GroupBoxButtons"));
    GroupBoxButtons->resize(320, kButtonGroupHeight);

    auto button = [](QWidget* parent, const char* name, const char* caption, const char* hint) {
        auto* b = new QPushButton(QString::fromUtf8(caption), parent);
        b->setObjectName(QString::fromLatin1(name));
        if (hint)
            b->setToolTip(hintText(hint));
        return b;
    };
    btn_prev = button(GroupBoxButtons, "btn_prev", "<", nullptr);
    btn_load = button(GroupBoxButtons, "btn_load", "HEX laden",
                      "Hex-File laden.\r\nAnschliessend können Parameter wie z.B. die Adressen geändert werden.");
    btn_next = button(GroupBoxButtons, "btn_next", ">", nullptr);
    btn_save = button(GroupBoxButtons, "btn_save", "speichern",
                      "Hex-File speichern\r\nDas neue HEX-File kann dann in den PIC 'gebrannt' werden");
    btn_info = button(GroupBoxButtons, "btn_info", "HEX Info", "Anzeige der HEX-Daten");
    btn_close = button(GroupBoxButtons, "btn_close", "Ende", "Programm beenden (ohne eine Nachfrage!)");
    for (QPushButton* b : {btn_save, btn_close}) {
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
    }
    btn_prev->setGeometry(10, kButtonTop, kArrowWidth, kButtonHeight);
    btn_load->setGeometry(25, kButtonTop, 89, kButtonHeight);
    btn_next->setGeometry(114, kButtonTop, kArrowWidth, kButtonHeight);
    btn_save->setGeometry(139, kButtonTop, 89, kButtonHeight);
    btn_info->setGeometry(238, kButtonTop, 52, kInfoHeight);
    btn_close->setGeometry(238, kCloseTop, 52, kButtonHeight);

    ProgressBar1 = new QProgressBar(GroupBoxButtons);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setGeometry(25, kProgressTop, 213, kProgressHeight);

    GroupBoxImage = new QGroupBox(central);
    GroupBoxImage->setObjectName(QStringLiteral("GroupBoxImage"));
    GroupBoxImage->setCursor(Qt::PointingHandCursor);
    Image2 = new QLabel(GroupBoxImage);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setPixmap(makeLinkPicture());
    Image2->resize(kImageWidth, kImageHeight);
    Image2->setToolTip(QStringLiteral("Zur WebSite"));
    Image2->setCursor(Qt::PointingHandCursor);
    GroupBoxImage->installEventFilter(this);
    Image2->installEventFilter(this);

    btn_goweb = button(central, "btn_goweb", "", "Gehe auf die WebSite zu dieser Software-Variante");
    btn_goweb->resize(btn_goweb->width(), kGowebHeight);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setToolTip(QStringLiteral("Anzeige der HEX-Version und des Namens"));
    // The last panel holds the file's path and the PIC suffix after it: it keeps at least its
    // 250 pixels and takes whatever width the window has beyond the other three.
    const int panelWidths[4] = {35, 50, 50, 250};
    for (int i = 0; i < 4; ++i) {
        auto* l = new QLabel(StatusBar1);
        l->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        if (i < 3) {
            l->setFixedWidth(panelWidths[i]);
            StatusBar1->addWidget(l);
        } else {
            l->setMinimumWidth(panelWidths[i]);
            // a long path must not widen the window: the explicit minimum holds
            l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            StatusBar1->addWidget(l, 1);
        }
        StatusPanels[static_cast<std::size_t>(i)] = l;
    }
    StatusBar1->setFixedHeight(StatusBar1->sizeHint().height());
    setStatusBar(StatusBar1);

    createFrames();
}

void TFormMain::createFrames()
{
    // Created after GroupBoxMain, so that a shown page lies above the address area.
    FrameZusatz1 = makeFrame(central, "FrameZusatz1");
    // The mode group decides the width of the additional-functions page.
    auto* groupMode = new QGroupBox(QStringLiteral("Mode Auswahl"), FrameZusatz1);
    groupMode->setObjectName(QStringLiteral("group_mode"));
    groupMode->setGeometry(10, 100, 300, 200);
    groupMode->hide();

    FrameBlinkmuster1 = makeFrame(central, "FrameBlinkmuster1");
    makeAcceptButton(FrameBlinkmuster1, "blinkmuster_btn_uebernehmen", "Übernehmen", QRect(445, 445, 80, 25));
    FrameBlinkmuster_led1 = makeFrame(central, "FrameBlinkmuster_led1");
    makeAcceptButton(FrameBlinkmuster_led1, "led_blinkmuster_btn_uebernehmen", "Übernehmen",
                     QRect(445, 445, 80, 25));
    FrameKornelAdr1 = makeFrame(central, "FrameKornelAdr1");
    FrameKornel1 = makeFrame(central, "FrameKornel1");
    makeAcceptButton(FrameKornel1, "servo_btn_uebernehmen", "übernehmen", QRect(445, 515, 80, 25));

    FrameRegister1 = new TFrameRegister(session, central);
    FrameRegister1->setObjectName(QStringLiteral("FrameRegister1"));
    FrameRegister1->hide();
}

void TFormMain::createAddressRows()
{
    const QFont rowFont = rowControlFont();
    const QString functionHint = QStringLiteral("Funktion Nummer");
    const QString rgHint = QString::fromUtf8("Wechsel zwischen ROTer und GRÜNer Adresse ");
    for (int k = 0; k < kRows; ++k) {
        AddressRowControls& r = AddressRows[static_cast<std::size_t>(k)];
        r.caption = new QLabel(QStringLiteral("A%1").arg(k), GroupBoxMain);
        r.caption->setObjectName(QStringLiteral("lbl_adr_%1").arg(k));
        r.caption->resize(kCaptionWidth, kCaptionHeight);

        r.address = new QLineEdit(GroupBoxMain);
        r.address->setObjectName(QStringLiteral("edt_adr_%1").arg(k));
        r.address->resize(kAddressWidth, kAddressHeight);

        r.function = new QLineEdit(GroupBoxMain);
        r.function->setObjectName(QStringLiteral("edt_fkt_%1").arg(k));
        r.function->resize(kFunctionWidth, kFunctionHeight);
        r.function->setToolTip(functionHint);

        r.rg = new QPushButton(QStringLiteral("R/G"), GroupBoxMain);
        r.rg->setObjectName(QStringLiteral("btn_RG_%1").arg(k));
        r.rg->resize(kRgWidth, kRgHeight);
        r.rg->setToolTip(rgHint);

        for (QWidget* w : {static_cast<QWidget*>(r.caption), static_cast<QWidget*>(r.address),
                           static_cast<QWidget*>(r.function), static_cast<QWidget*>(r.rg)}) {
            w->setFont(rowFont);
            w->hide();
        }
    }
}

void TFormMain::connectHandlers()
{
    connect(btn_load, &QPushButton::clicked, this, [this] { guarded([this] { btn_loadClick(); }); });
    connect(btn_save, &QPushButton::clicked, this, [this] { guarded([this] { btn_saveClick(); }); });
    connect(btn_close, &QPushButton::clicked, this, [this] { guarded([this] { btn_closeClick(); }); });
    connect(btn_info, &QPushButton::clicked, this, [this] { guarded([this] { btn_infoClick(); }); });
    connect(btn_prev, &QPushButton::clicked, this, [this] { guarded([this] { btn_prevClick(); }); });
    connect(btn_next, &QPushButton::clicked, this, [this] { guarded([this] { btn_nextClick(); }); });
    connect(btn_goweb, &QPushButton::clicked, this, [this] { guarded([this] { btn_gowebClick(); }); });
    for (int k = 0; k < kRows; ++k)
        connect(AddressRows[static_cast<std::size_t>(k)].rg, &QPushButton::clicked, this,
                [this, k] { guarded([this, k] { btn_RGClick(k); }); });
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == Image2 || watched == GroupBoxImage) && event->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(event);
        auto* w = static_cast<QWidget*>(watched);
        if (me->button() == Qt::LeftButton && w->rect().contains(me->position().toPoint())) {
            guarded([this] { gointoweb(); });
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void TFormMain::guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& e) {
        m_prompter->tell(hz::MsgKind::Error, e.what(), hz::Buttons::Ok);
    } catch (...) {
        m_prompter->tell(hz::MsgKind::Error, "Unbekannter Fehler", hz::Buttons::Ok);
    }
}

void TFormMain::refreshStatus()
{
    for (std::size_t i = 0; i < 4; ++i)
        StatusPanels[i]->setText(fromUtf8(session.status.text[i]));
}

// ---------------------------------------------------------------------------------------------
// Load, save, close

hz::LoadOutcome TFormMain::LoadFile(const QString& fileName)
{
    hz::LoadOutcome outcome = hz::LoadOutcome::NoFile;
    try {
        outcome = session.LoadFile(toPath(fileName));
    } catch (...) {
        refreshStatus();
        ProgressBar1->setValue(0);
        btn_save->setEnabled(session.SaveEnabled);
        throw;
    }
    refreshStatus();
    ProgressBar1->setValue(0);
    btn_save->setEnabled(session.SaveEnabled);
    if (outcome == hz::LoadOutcome::Done || outcome == hz::LoadOutcome::Stopped)
        markSaved();
    return outcome;
}

void TFormMain::markSaved()
{
    // The rows show what was loaded (or saved); hidden rows may still hold texts of an earlier
    // file, so the widgets, not the decoded texts, are the state to compare against.
    copyRowTextsToSession();
    session.TakeSnapshot();
}

bool TFormMain::ConfirmDiscardChanges()
{
    copyRowTextsToSession();
    return session.ConfirmDiscardChanges();
}

bool TFormMain::loadAfterAsking(const QString& fileName)
{
    if (fileName.isEmpty() || !ConfirmDiscardChanges())
        return false;
    LoadFile(fileName);
    return true;
}

void TFormMain::RedoLayout()
{
    session.identification.RedoLayout(*this);
    refreshStatus();
}

void TFormMain::btn_loadClick()
{
    const QString chosen = m_dialogs->openHexFile(this, QFile::decodeName(session.image.LastFileName.c_str()));
    if (!loadAfterAsking(chosen))
        return;
    browser.ScanFolder(chosen);
}

void TFormMain::copyRowTextsToSession()
{
    for (int k = 0; k < kRows; ++k) {
        const auto i = static_cast<std::size_t>(k);
        session.addresses.AddressText[i] = toStd(AddressRows[i].address->text());
        session.addresses.FunctionText[i] = toStd(AddressRows[i].function->text());
    }
}

void TFormMain::btn_saveClick()
{
    if (!ConfirmPendingPageChanges())
        return;
    copyRowTextsToSession();
    // A refused row or lines that could not be built: there is nothing to save, so no dialog.
    if (!session.PrepareSave())
        return;
    const QString proposed = QFile::decodeName(session.image.LastFileName.c_str());
    const QString chosen = m_dialogs->saveHexFile(this, proposed);
    if (chosen.isEmpty())
        session.status.text[3] = toStd(proposed);
    else if (session.WriteBuiltLines(toPath(chosen))) {
        session.status.text[3] = toStd(chosen);
        markSaved();
    }
    // A write that failed has said so and changed nothing, the status bar included.
    refreshStatus();
}

bool TFormMain::btn_closeClick()
{
    if (!ConfirmDiscardChanges())
        return false;
    SettingsValues values;
    values.rasterX = RasterX;
    values.rasterY = RasterY;
    values.width = width();
    values.top = y();
    values.left = x();
    values.lastFileName = QFile::decodeName(session.image.LastFileName.c_str());
    QString error;
    if (!WriteSettings(m_settingsPath, values, &error)) {
        m_prompter->tell(hz::MsgKind::Error, toStd(error), hz::Buttons::Ok);
        return false;
    }
    m_closeConfirmed = true;
    close();
    m_closeConfirmed = false;
    return true;
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    // "Ende" has asked already; the close box asks here.
    if (!m_closeConfirmed && !ConfirmDiscardChanges()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void TFormMain::btn_infoClick()
{
    if (m_services.showInfo)
        m_services.showInfo(this);
}

void TFormMain::btn_prevClick()
{
    const QString file = browser.PrevFile;
    if (loadAfterAsking(file))
        browser.ScanFolder(file);
}

void TFormMain::btn_nextClick()
{
    const QString file = browser.NextFile;
    if (loadAfterAsking(file))
        browser.ScanFolder(file);
}

void TFormMain::openUrl(const QString& url)
{
    if (m_services.openUrl)
        m_services.openUrl(url);
    else
        QDesktopServices::openUrl(QUrl(url)); // like the shell's "open": a failure is not shown
}

void TFormMain::btn_gowebClick() { openUrl(fromUtf8(session.ident.DocPage)); }

void TFormMain::gointoweb() { openUrl(QString::fromLatin1(hz::kHomePage)); }

void TFormMain::btn_RGClick(int row)
{
    session.addresses.btn_RGClick(row, *this);
    ColourRows();
}

// ---------------------------------------------------------------------------------------------
// Page host

void TFormMain::ShowPage(int kind)
{
    FrameZusatz1->hide();
    FrameBlinkmuster1->hide();
    FrameBlinkmuster_led1->hide();
    FrameKornel1->hide();
    FrameKornelAdr1->hide();

    const int top = GroupBoxMain->y() + 5;
    switch (kind) {
    case hz::PageZusatz: {
        const QWidget* groupMode = FrameZusatz1->findChild<QWidget*>(QStringLiteral("group_mode"));
        const int width = groupMode ? groupMode->x() + groupMode->width() + 10 : 320;
        FrameZusatz1->setGeometry(410, top, width, 485);
        FrameZusatz1->show();
        FrameZusatz1->raise();
        ArrangeWindow(5, 410, 485, width);
        break;
    }
    case hz::PageBlinkmuster:
    case hz::PageBlinkmusterLed: {
        QFrame* frame = kind == hz::PageBlinkmuster ? FrameBlinkmuster1 : FrameBlinkmuster_led1;
        const QString name = kind == hz::PageBlinkmuster ? QStringLiteral("blinkmuster_btn_uebernehmen")
                                                         : QStringLiteral("led_blinkmuster_btn_uebernehmen");
        const QWidget* accept = frame->findChild<QWidget*>(name);
        const int height = accept ? accept->y() + accept->height() + 15 : 485;
        const int width = accept ? accept->x() + accept->width() + 15 : 540;
        frame->setGeometry(410, top, width, height);
        frame->show();
        frame->raise();
        ArrangeWindow(5, 410, height, width);
        break;
    }
    case hz::PageServo: {
        FrameKornel1->setGeometry(410, top, 540, 555);
        FrameKornel1->show();
        FrameKornel1->raise();
        FrameKornelAdr1->setGeometry(GroupBoxMain->x() + 1, 120, GroupBoxMain->width() - 2, 530);
        FrameKornelAdr1->show();
        FrameKornelAdr1->raise();
        const QWidget* accept = FrameKornel1->findChild<QWidget*>(QStringLiteral("servo_btn_uebernehmen"));
        const int height = accept ? accept->y() + accept->height() + 15 : 555;
        const int a = accept ? accept->x() + accept->width() : 525;
        FrameKornel1->resize(a + 15, height);
        ArrangeWindow(410, 650, height, a - 225);
        break;
    }
    case hz::PageRegister:
        ArrangeWindow(5, 410, 555, 535);
        FrameRegister1->Updating = true;
        FrameRegister1->setGeometry(5, GroupBoxMain->y() + 3, 940, 555);
        FrameRegister1->show();
        FrameRegister1->raise();
        FrameRegister1->ResetRows();
        FrameRegister1->ShowCvList();
        break;
    default:
        break;
    }
}

void TFormMain::ArrangeWindow(int left, int right, int height, int width)
{
    GroupBoxMain->resize(GroupBoxMain->width(), height + 5);

    setMinimumSize(0, 0);
    resize(right + width + 10, height + StatusBar1->height() + GroupBoxButtons->height() + 50);
    setMinimumSize(this->width(), this->height());

    // C++ integer division truncates toward zero, as the layout formulas want.
    const int wide = ((width - 40) * 4) / 10 - 15;
    const int narrow = (2 * (width - 40)) / 10;
    btn_load->resize(wide, btn_load->height());
    btn_save->resize(wide, btn_save->height());
    btn_info->resize(narrow, btn_info->height());
    btn_close->resize(narrow, btn_close->height());

    btn_prev->move(10, btn_prev->y());
    btn_load->move(btn_prev->x() + btn_prev->width(), btn_load->y());
    btn_next->move(btn_load->x() + btn_load->width(), btn_next->y());
    btn_save->move(btn_next->x() + btn_next->width() + 10, btn_save->y());
    btn_info->move(btn_save->x() + btn_save->width() + 10, btn_info->y());
    btn_close->move(btn_info->x(), btn_close->y());
    ProgressBar1->setGeometry(btn_load->x(), ProgressBar1->y(), btn_load->width() + btn_save->width() + 10,
                              ProgressBar1->height());

    GroupBoxButtons->setGeometry(right, height + 15, btn_info->x() + btn_info->width() + 10,
                                 GroupBoxButtons->height());

    GroupBoxImage->setGeometry(left, height + 15, right - left - 5,
                               GroupBoxButtons->height() - btn_goweb->height() - 5);
    Image2->move(GroupBoxImage->width() / 2 - Image2->width() / 2,
                 GroupBoxImage->height() / 2 - Image2->height() / 2);

    btn_goweb->setGeometry(GroupBoxImage->x(), GroupBoxImage->y() + GroupBoxImage->height() + 4,
                           GroupBoxImage->width(), btn_goweb->height());
}

void TFormMain::ResetLayout()
{
    ArrangeWindow(5, 410, 500, 300);
    syncCaptions();
    LayoutRows(15, 0);
}

void TFormMain::FitHeader(const QString& name)
{
    QFont f = lbl_header->font();
    f.setPointSize(15);
    lbl_header->setFont(f);
    lbl_header->setText(name);
    lbl_header->adjustSize();
    for (int size : {13, 11, 10, 9}) {
        if (lbl_header->width() > GroupBoxMain->width()) {
            f.setPointSize(size);
            lbl_header->setFont(f);
            lbl_header->adjustSize();
        }
    }
}

bool TFormMain::ConfirmPendingPageChanges()
{
    const std::pair<QFrame*, const char*> pages[] = {
        {FrameKornel1, "servo_btn_uebernehmen"},
        {FrameBlinkmuster1, "blinkmuster_btn_uebernehmen"},
        {FrameBlinkmuster_led1, "led_blinkmuster_btn_uebernehmen"},
    };
    for (const auto& [frame, buttonName] : pages) {
        auto* accept = frame->findChild<QPushButton*>(QString::fromLatin1(buttonName));
        if (!accept || !frame->isVisibleTo(this) || !accept->isEnabled())
            continue;
        const hz::Answer a = m_prompter->ask(hz::MsgKind::Warning, "Geänderte Werte übernehmen?", hz::Buttons::YesNo);
        if (a != hz::Answer::Yes)
            return false;
        accept->click();
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Address rows

void TFormMain::syncCaptions()
{
    for (int k = 0; k < kRows; ++k) {
        QLabel* l = AddressRows[static_cast<std::size_t>(k)].caption;
        const QString text = fromUtf8(session.ident.Captions[static_cast<std::size_t>(k)]);
        if (l->text() != text)
            l->setText(text);
        // The caption label sizes itself to its text.
        l->resize(text.isEmpty() ? 0 : l->sizeHint().width(), kCaptionHeight);
    }
}

void TFormMain::LayoutRows(int columnBreak, int gap)
{
    syncCaptions();
    if (columnBreak >= 48) {
        lbl_header->show();
        int a = 0;
        for (int k = 1; k < kRows; ++k)
            a = std::max(a, AddressRows[static_cast<std::size_t>(k)].caption->width());
        int y = 60;
        for (int k = 1; k < kRows; ++k) {
            AddressRowControls& r = AddressRows[static_cast<std::size_t>(k)];
            r.caption->move(5, y + 4);
            r.address->move(a + 15, y);
            const int right = r.address->x() + r.address->width() + 10;
            r.function->move(right, y);
            r.rg->move(right, y + 2);
            y += k == gap ? 35 : 25;
        }
    } else {
        lbl_header->hide();
        int x = 5;
        int y = 15;
        for (int k = 1; k < kRows; ++k) {
            AddressRowControls& r = AddressRows[static_cast<std::size_t>(k)];
            r.caption->move(x, y + 4);
            r.address->move(x + 100, y);
            r.function->move(x + 150, y);
            r.rg->move(x + 150, y + 2);
            if (k == columnBreak) {
                y = 15;
                x += 200;
            } else {
                y += k == gap ? 35 : 25;
            }
        }
    }
}

void TFormMain::ShowRows()
{
    syncCaptions();
    const auto& id = session.ident;
    for (int k = 0; k < kRows; ++k) {
        AddressRowControls& r = AddressRows[static_cast<std::size_t>(k)];
        if (!id.hasCaption(k)) {
            r.caption->hide();
            r.address->hide();
            r.function->hide();
            r.rg->hide();
            r.address->setToolTip(QString());
            continue;
        }
        r.caption->show();
        r.address->show();
        // A row without EEPROM room of its own is neither loaded nor saved: show it, but
        // let nobody type an address that would go nowhere.
        const bool stored = hz::AddressPage::hasStorage(k);
        r.address->setEnabled(stored);
        r.function->setEnabled(stored);
        r.rg->setVisible(id.RedGreen);
        r.function->setVisible(!id.RedGreen);
        r.address->setToolTip(fromUtf8(session.addresses.AddressHint(k)));
        r.function->setToolTip(fromUtf8(session.addresses.FunctionHint(k)));
    }
}

void TFormMain::ColourRows()
{
    for (int k = 0; k < kRows; ++k) {
        const auto i = static_cast<std::size_t>(k);
        QColor c = Qt::white;
        if (session.ident.RedGreen)
            c = session.addresses.RowState[i] == 1 ? QColor(0, 255, 0) : QColor(255, 0, 0);
        QLineEdit* e = AddressRows[i].address;
        QPalette p = e->palette();
        if (p.color(QPalette::Base) != c) {
            p.setColor(QPalette::Base, c);
            e->setPalette(p);
        }
    }
}

void TFormMain::HideAllRows()
{
    for (AddressRowControls& r : AddressRows) {
        r.caption->hide();
        r.address->hide();
        r.function->hide();
        r.rg->hide();
    }
}

// ---------------------------------------------------------------------------------------------
// SessionView

void TFormMain::hidePages()
{
    for (QWidget* f : {static_cast<QWidget*>(FrameZusatz1), static_cast<QWidget*>(FrameBlinkmuster1),
                       static_cast<QWidget*>(FrameBlinkmuster_led1), static_cast<QWidget*>(FrameKornelAdr1),
                       static_cast<QWidget*>(FrameKornel1), static_cast<QWidget*>(FrameRegister1)})
        f->hide();
    refreshStatus();
}

void TFormMain::resetLayout() { ResetLayout(); }
void TFormMain::layoutRows(int columnBreak, int gap) { LayoutRows(columnBreak, gap); }
void TFormMain::showPage(int kind) { ShowPage(kind); }
void TFormMain::fitHeader(const std::string& name) { FitHeader(fromUtf8(name)); }

void TFormMain::showRows()
{
    ShowRows();
    refreshStatus();
}

void TFormMain::hideAllRows()
{
    HideAllRows();
    refreshStatus();
}

void TFormMain::setProgress(int maximum, int position)
{
    if (ProgressBar1->maximum() != maximum)
        ProgressBar1->setRange(0, maximum);
    ProgressBar1->setValue(std::clamp(position, 0, std::max(0, maximum)));
}

void TFormMain::rowTextsChanged(int row)
{
    if (row < 0 || row >= kRows)
        return;
    const auto i = static_cast<std::size_t>(row);
    AddressRows[i].address->setText(fromUtf8(session.addresses.AddressText[i]));
    AddressRows[i].function->setText(fromUtf8(session.addresses.FunctionText[i]));
}

void TFormMain::focusRow(int row, bool functionField)
{
    if (row < 0 || row >= kRows)
        return;
    const auto i = static_cast<std::size_t>(row);
    QLineEdit* e = functionField ? AddressRows[i].function : AddressRows[i].address;
    // A hidden field cannot take the focus (format "ohne": the rows are hidden).
    if (e->isVisibleTo(this))
        e->setFocus(Qt::OtherFocusReason);
}

void TFormMain::colourRows() { ColourRows(); }

void TFormMain::docPageChanged(const std::string& url) { btn_goweb->setText(fromUtf8(url)); }
