#include "gui/app/TFormMain.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include <exception>

#include "core/Version.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/DocLinks.h"
#include "core/pages/ReadingOrder.h"
#include "gui/app/EditorAdapter.h"
#include "gui/app/MainMenu.h"
#include "gui/app/OpenAddress.h"
#include "gui/app/PageHostView.h"
#include "gui/app/Settings.h"
#include "gui/common/QtText.h"
#include "gui/inspect/InfoDialog.h"
#include "gui/pages/AddressRowsFrame.h"
#include "gui/pages/PageFrame.h"
#include "gui/tools/SettingsTools.h"

using hz::gui::fromPath;
using hz::gui::fromStd;
using hz::gui::toPath;
using hz::gui::toStd;

TFormMain::TFormMain(hz::gui::MainWindowServices services, QWidget* parent)
    : QMainWindow(parent), WindowControls(static_cast<QMainWindow&>(*this)), m_prompter(this), session(m_prompter),
      m_services(std::move(services))
{
    m_prompter.setDelegate(m_services.prompter);
    // A message or question shows over the state the session has reached, rows included.
    m_prompter.beforeAsking = [this] { refreshView(); };
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
    GroupBoxImage->installEventFilter(this);
    Image2->installEventFilter(this);
    m_rows = new AddressRowsFrame(session.addresses, GroupBoxMain, lbl_header);
    // Made after GroupBoxMain, so that a shown page lies above the address area.
    m_pageHost = std::make_unique<PageHostView>(session.pages, central, m_dialogs);
    m_changes = new EditorAdapter(editor, this);
    m_changes->watchEdits(frames(), *m_rows);
    connect(m_changes, &EditorAdapter::changed, this, &TFormMain::showChanges);

    // Start-up, in the order the firmware editor has always done it.
    setWindowTitle(QStringLiteral("Hex Zwirbel ") + QString::fromLatin1(hz::kLayoutDate));
    m_menu = new MainMenu(*this, [this](const QString& file) { guarded([this, file] { editor.open(toPath(file)); }); });
    refreshView(); // panel 3: " HEX Zwirbel "
    move(20, 20);
    setMinimumSize(750, 630);
    resize(750, 630);

    btn_save->setEnabled(false);
    session.ident.Mot = false;
    session.ident.DCC = false;
    session.ident.NoAddressInput = false;
    session.image.PicModel = 0;

    GroupBoxMain->setGeometry(5, 5, 400, 475);
    lbl_header->setText(QStringLiteral("Hex Zwirbel"));
    lbl_header->adjustSize();

    readSettings();
    ResetLayout();
    session.addresses.layOut(15, 0);
    m_rows->refresh();
    connectHandlers();
    orderFocus();
    focusStart(); // no file yet: "HEX laden"
}

TFormMain::~TFormMain()
{
    // The frames outlive the session by a moment (Qt deletes the widgets after the members): a
    // field that loses the focus while the window closes must not reach a page that is gone.
    for (PageFrame* frame : frames())
        frame->Updating = true;
    session.setView(nullptr);
}

const std::vector<PageFrame*>& TFormMain::frames() const { return m_pageHost->frames(); }

void TFormMain::readSettings()
{
    const SettingsValues settings = ReadSettings(m_settingsPath);
    RasterX = settings.rasterX;
    RasterY = settings.rasterY;
    resize(settings.width, height());
    move(x(), settings.top);
    move(settings.left, y());
    session.image.LastFileName = toPath(settings.lastFileName);
    // Before any file is loaded: the program's own page until a type is identified.
    session.ident.Site = hz::gui::ProgramDocSite(settings.docBase, m_services.dataFolder);
    session.ident.DocPage = hz::DocAddress(session.ident.Site, nullptr);
    showDocButton();
}

void TFormMain::connectHandlers()
{
    const std::pair<QPushButton*, void (TFormMain::*)()> buttons[] = {
        {btn_load, &TFormMain::btn_loadClick}, {btn_save, &TFormMain::btn_saveClick},
        {btn_info, &TFormMain::btn_infoClick}, {btn_prev, &TFormMain::btn_prevClick},
        {btn_next, &TFormMain::btn_nextClick}, {btn_goweb, &TFormMain::btn_gowebClick}};
    for (const auto& [button, handler] : buttons)
        connect(button, &QPushButton::clicked, this,
                [this, handler] { guarded([this, handler] { (this->*handler)(); }); });
    connect(btn_close, &QPushButton::clicked, this, [this] { guarded([this] { btn_closeClick(); }); });
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

void TFormMain::showChanges(hz::Changes changes)
{
    using hz::Change;
    if (changes.has(Change::File)) {
        endProgress(session.SaveEnabled);
        btn_save->setEnabled(session.SaveEnabled);
    }
    if (changes.has(Change::Pages))
        m_pageHost->Refresh();
    if (changes.has(Change::Rows))
        m_rows->refresh();
    if (changes.has(Change::Status))
        showStatus(session.statusTexts());
    orderFocus();
    // Only a load steps the folder: after it the user starts at the first field, and where the
    // load left no file, at "HEX laden".
    if (changes.has(Change::File) && changes.has(Change::Folder))
        focusStart();
}

void TFormMain::refreshView()
{
    showStatus(session.statusTexts());
    if (m_rows)
        m_rows->refresh();
    if (m_menu)
        m_menu->showSessionState();
    orderFocus();
}

void TFormMain::orderFocus()
{
    // Reading order: the address rows, the shown pages as they stand (each in the order its
    // controls stand in), then the buttons below them and the documentation button.
    if (!m_rows || !m_pageHost)
        return; // a message while the window is being made
    std::vector<QWidget*> chain;
    auto read = [&chain](PageFrame& frame) {
        for (const std::string& name : hz::pages::FocusOrder(frame.model()))
            if (QWidget* w = frame.widget(name))
                chain.push_back(w);
    };
    read(*m_rows);
    std::vector<PageFrame*> shown;
    std::vector<hz::pages::Rect> places;
    for (PageFrame* f : frames()) {
        if (f->isHidden())
            continue;
        shown.push_back(f);
        places.push_back({f->x(), f->y(), f->width(), f->height()});
    }
    for (std::size_t k : hz::pages::ReadingOrder(places))
        read(*shown[k]);
    chain.insert(chain.end(), {btn_prev, btn_load, btn_next, btn_save, btn_info, btn_close, btn_goweb});
    if (chain == m_focusChain)
        return;
    m_focusChain = chain;
    for (std::size_t k = 0; k + 1 < chain.size(); ++k)
        QWidget::setTabOrder(chain[k], chain[k + 1]);
}

void TFormMain::focusStart()
{
    QWidget* first = btn_load;
    if (session.SaveEnabled) {
        // The first field of the chain that takes the focus now: an address field, or where
        // the decoder has no address rows, the page's first control.
        for (QWidget* w : m_focusChain) {
            if (w == btn_prev)
                break;
            if (w->isVisibleTo(this) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
                first = w;
                break;
            }
        }
    }
    first->setFocus(Qt::OtherFocusReason);
}

// ---------------------------------------------------------------------------------------------
// Load, save, close

hz::LoadOutcome TFormMain::LoadFile(const QString& fileName) { return editor.load(toPath(fileName)); }

void TFormMain::RedoLayout() { editor.redoLayout(); }

void TFormMain::btn_loadClick()
{
    editor.open(toPath(m_dialogs->openFile(this, fromPath(session.image.LastFileName),
                                           QString::fromLatin1(hz::gui::kHexFileFilter), QStringLiteral("hex"))));
}

void TFormMain::btn_saveClick()
{
    editor.save([this](const std::string& proposed) {
        return toPath(m_dialogs->saveFile(this, fromPath(proposed), QString::fromLatin1(hz::gui::kHexFileFilter),
                                          QStringLiteral("hex")));
    });
}

bool TFormMain::btn_closeClick()
{
    if (!session.ConfirmDiscardChanges())
        return false;
    m_closeConfirmed = true;
    const bool closed = close();
    m_closeConfirmed = false;
    return closed;
}

void TFormMain::closeEvent(QCloseEvent* event)
{
    // "Ende" has asked already; the close box (and any other way to close) asks here.
    const bool fromEnde = m_closeConfirmed;
    if (!fromEnde && !session.ConfirmDiscardChanges()) {
        event->ignore();
        return;
    }
    // The settings are kept however the window closes.
    const SettingsValues values{
        RasterX, RasterY, width(), y(), x(), fromPath(session.image.LastFileName), fromStd(session.ident.Site.base)};
    QString error;
    if (!WriteSettings(m_settingsPath, values, &error) ||
        !WriteRecentFiles(m_settingsPath, m_menu->recentFiles(), &error)) {
        m_prompter.tell(hz::MsgKind::Error, toStd(error), hz::Buttons::Ok);
        // "Ende" stays open, so that the user can mend what the message names; the close box
        // closes all the same - it never stood in the way of closing, and must not start now.
        if (fromEnde) {
            event->ignore();
            return;
        }
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

void TFormMain::compareWithFile()
{
    guarded([this] { hz::gui::CompareWithFile(this, editor, *m_dialogs); });
}

void TFormMain::takeSettingsFromFile()
{
    guarded([this] { hz::gui::TakeSettingsFromFile(this, editor, *m_dialogs); });
}

void TFormMain::btn_prevClick() { editor.openPrevious(); }

void TFormMain::btn_nextClick() { editor.openNext(); }

void TFormMain::openUrl(const QString& address)
{
    hz::gui::OpenAddress(address, session.ident.Site.base.empty(), m_services.openUrl, m_prompter);
}
void TFormMain::btn_gowebClick() { openUrl(fromStd(session.ident.DocPage)); }

void TFormMain::showManual()
{
    guarded([this] { openUrl(fromStd(hz::DocAddress(session.ident.Site, nullptr))); });
}

void TFormMain::gointoweb() { openUrl(QString::fromLatin1(hz::kHomePage)); }

void TFormMain::DocPageChanged(const std::string&) { showDocButton(); }

void TFormMain::showDocButton()
{
    // The page it opens is the identification's DocPage; the button says what the page is.
    btn_goweb->setText(fromStd(hz::DocLinkCaption(session.ident.Site, session.ident.Type)));
    btn_goweb->setToolTip(hz::gui::hintText(hz::DocLinkHint(session.ident.Site, session.ident.Type).c_str()));
}

// ---------------------------------------------------------------------------------------------
// Page host

void TFormMain::ShowPage(int kind)
{
    const QRect box = GroupBoxMain->geometry();
    if (const auto a = m_pageHost->ShowPage(kind, {box.x(), box.y(), box.width()}))
        ArrangeWindow(a->left, a->right, a->height, a->width);
}

void TFormMain::HidePages()
{
    m_pageHost->HidePages();
    refreshView();
}
