#include "gui/app/TFormMain.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QUrl>

#include <algorithm>
#include <exception>

#include "gui/app/ControlFont.h"
#include "gui/app/LinkPicture.h"
#include "gui/app/MessageBoxPrompter.h"
#include "gui/app/Settings.h"
#include "core/catalogue/Catalogue.h"
#include "gui/pages/PageFrame.h"
#include "gui/app/PageHostView.h"
#include "gui/app/QtText.h"
#include "gui/inspect/InfoDialog.h"

using hz::gui::fromPath;
using hz::gui::fromStd;
using hz::gui::hintText;
using hz::gui::toPath;
using hz::gui::toStd;

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

} // namespace

TFormMain::TFormMain(hz::gui::MainWindowServices services, QWidget* parent)
    : QMainWindow(parent),
      m_prompter(this),
      session(m_prompter),
      AddressRows(session),
      m_services(std::move(services))
{
    m_prompter.setDelegate(m_services.prompter);
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

    AddressRows.attach(GroupBoxMain, lbl_header);
    AddressRows.onRgClick = [this](int row) { guarded([this, row] { btn_RGClick(row); }); };

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
    btn_close = button(GroupBoxButtons, "btn_close", "Ende", "Programm beenden\r\n(mit Nachfrage, wenn Änderungen nicht gespeichert sind)");
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
    Image2->setPixmap(hz::gui::makeLinkPicture(kImageWidth, kImageHeight));
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
    m_pageHost = std::make_unique<PageHostView>(session.pages, central, m_dialogs);
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
        m_prompter.tell(hz::MsgKind::Error, e.what(), hz::Buttons::Ok);
    } catch (...) {
        m_prompter.tell(hz::MsgKind::Error, "Unbekannter Fehler", hz::Buttons::Ok);
    }
}

void TFormMain::refreshStatus()
{
    for (std::size_t i = 0; i < 4; ++i)
        StatusPanels[i]->setText(fromStd(session.status.text[i]));
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
    // The page is shown now: whatever it changed on its own, the user hears of it here, before
    // any save can write it.
    if (const std::string corrections = session.CorrectionsMessage(); !corrections.empty())
        m_prompter.tell(hz::MsgKind::Warning, corrections, hz::Buttons::Ok);
    return outcome;
}

void TFormMain::markSaved()
{
    // The rows show what was loaded (or saved); hidden rows may still hold texts of an earlier
    // file, so the widgets, not the decoded texts, are the state to compare against.
    AddressRows.CopyTextsToSession();
    session.TakeSnapshot();
}

bool TFormMain::ConfirmDiscardChanges()
{
    AddressRows.CopyTextsToSession();
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
    session.RedoLayout();
    refreshStatus();
}

void TFormMain::btn_loadClick()
{
    const QString chosen = m_dialogs->openFile(this, fromPath(session.image.LastFileName),
                                               QString::fromLatin1(hz::gui::kHexFileFilter), QStringLiteral("hex"));
    if (!loadAfterAsking(chosen))
        return;
    browser.ScanFolder(chosen);
}

void TFormMain::btn_saveClick()
{
    AddressRows.CopyTextsToSession();
    // Pending page changes not taken over, a refused row or lines that could not be built:
    // there is nothing to save, so no dialog.
    const bool prepared = session.PrepareSave();
    m_pageHost->Refresh();
    if (!prepared)
        return;
    const QString proposed = fromPath(session.image.LastFileName);
    const QString chosen = m_dialogs->saveFile(this, proposed, QString::fromLatin1(hz::gui::kHexFileFilter),
                                               QStringLiteral("hex"));
    if (chosen.isEmpty())
        session.status.text[3] = toStd(proposed);
    else if (session.WriteBuiltLines(toPath(chosen)))
        session.status.text[3] = toStd(chosen); // the session took the saved state as its snapshot
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
    values.lastFileName = fromPath(session.image.LastFileName);
    QString error;
    if (!WriteSettings(m_settingsPath, values, &error)) {
        m_prompter.tell(hz::MsgKind::Error, toStd(error), hz::Buttons::Ok);
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
    if (m_services.showInfo) {
        m_services.showInfo(this);
        return;
    }
    // Made for this one look at the file and gone when it closes; it only reads the image.
    InfoDialog dialog(session.image, session.prompter(), *m_dialogs, this);
    dialog.exec();
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

void TFormMain::btn_gowebClick() { openUrl(fromStd(session.ident.DocPage)); }

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
    // The core host has set up the pages of the kind; they say where they stand, and the
    // window arranges itself around them.
    const QRect box = GroupBoxMain->geometry();
    if (const auto a = m_pageHost->ShowPage(kind, {box.x(), box.y(), box.width()}))
        ArrangeWindow(a->left, a->right, a->height, a->width);
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
    LayoutRows(15, 0);
}

void TFormMain::FitHeader(const std::string& name)
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

// ---------------------------------------------------------------------------------------------
// Address rows and the rest of what the load sequence asks of the window

void TFormMain::LayoutRows(int columnBreak, int gap) { AddressRows.LayoutRows(columnBreak, gap); }

void TFormMain::ShowRows()
{
    AddressRows.ShowRows();
    refreshStatus();
}

void TFormMain::ColourRows() { AddressRows.ColourRows(); }

void TFormMain::HideAllRows()
{
    AddressRows.HideAllRows();
    refreshStatus();
}

void TFormMain::HidePages()
{
    m_pageHost->HidePages();
    refreshStatus();
}

void TFormMain::SetProgress(int maximum, int position)
{
    if (ProgressBar1->maximum() != maximum)
        ProgressBar1->setRange(0, maximum);
    ProgressBar1->setValue(std::clamp(position, 0, std::max(0, maximum)));
}

void TFormMain::RowTextsChanged(int row) { AddressRows.RowTextsChanged(row); }

void TFormMain::FocusRow(int row, bool functionField) { AddressRows.FocusRow(row, functionField); }

void TFormMain::DocPageChanged(const std::string& url) { btn_goweb->setText(fromStd(url)); }
