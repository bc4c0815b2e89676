// Stepping through the HEX files of a folder, the links of the main window, and an error
// inside a button's handler.

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "MainWindowHarness.h"
#include "core/Session.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/DocLinks.h"
#include "gui/app/Settings.h"
#include "gui/app/TFormMain.h"
#include "gui/pages/PageFrame.h"
#include "gui/pages/RegisterFrame.h"

using hz::test::fixture;
using namespace hz::test::window;

class TstMainWindowBrowse : public QObject {
    Q_OBJECT

private slots:
    void prevAndNextStepThroughFolder();
    void links();
    void exceptionInHandlerIsShown();
};

void TstMainWindowBrowse::prevAndNextStepThroughFolder()
{
    Harness h;
    const QDir folder(h.dir.path());
    QVERIFY(folder.mkdir("hex"));
    const QString a = folder.filePath("hex/a.hex"), b = folder.filePath("hex/b.hex"), c = folder.filePath("hex/c.hex");
    QVERIFY(QFile::copy(fx("classic_629_turnout.hex"), a));
    QVERIFY(QFile::copy(fx("classic_684_idbits.hex"), b));
    QVERIFY(QFile::copy(fx("classic_676_turntable.hex"), c));

    TFormMain& w = h.make();
    h.dialogs.openAnswers << b;
    w.btn_load->click();
    QCOMPARE(w.lbl_header->text(), QStringLiteral("Relaisdekoder 8"));

    struct Step {
        QPushButton* button;
        QString file;
        const char* header;
    };
    const Step steps[] = {
        {w.btn_prev, a, "Stellino  ab V3.51"},      {w.btn_next, b, "Relaisdekoder 8"},
        {w.btn_next, c, "Drehscheibe 48 Position"}, {w.btn_next, a, "Stellino  ab V3.51"}, // wraps around
        {w.btn_prev, c, "Drehscheibe 48 Position"},
    };
    for (const Step& s : steps) {
        s.button->click();
        QVERIFY(status(w)[3].startsWith(s.file));
        QCOMPARE(w.lbl_header->text(), QString::fromLatin1(s.header));
        QCOMPARE(QString::fromStdString(w.session.image.LastFileName), s.file);
    }
    QVERIFY(h.prompter.shown.empty());
}

void TstMainWindowBrowse::links()
{
    Harness h;
    TFormMain& w = h.make();
    const QString manual = QString::fromStdString(w.session.ident.DocPage);
    w.btn_goweb->click();
    w.LoadFile(fx("classic_629_turnout.hex"));
    const QString typePage = QString::fromStdString(w.session.ident.DocPage);
    w.btn_goweb->click();
    QTest::mouseClick(w.Image2, Qt::LeftButton);
    QTest::mouseClick(w.GroupBoxImage, Qt::LeftButton, {}, QPoint(3, 3));
    // the local pages of the manual as file addresses, the home page as it is
    QCOMPARE(h.openedUrls,
             (QStringList{QUrl::fromLocalFile(manual).toString(), QUrl::fromLocalFile(typePage).toString(),
                          QString::fromLatin1(hz::kHomePage), QString::fromLatin1(hz::kHomePage)}));
    QVERIFY(typePage != manual);
    QVERIFY(h.prompter.shown.empty());
}

void TstMainWindowBrowse::exceptionInHandlerIsShown()
{
    Harness h;
    hz::gui::MainWindowServices s;
    s.prompter = &h.prompter;
    s.dialogs = &h.dialogs;
    s.settingsPath = h.settingsPath;
    s.openUrl = [](const QString&) -> bool { throw std::runtime_error("Browser nicht gefunden"); };
    TFormMain w(s);
    w.btn_goweb->click();
    QCOMPARE(h.prompter.shown.size(), std::size_t(1));
    QCOMPARE(h.prompter.shown[0].kind, hz::MsgKind::Error);
    QCOMPARE(h.prompter.shown[0].text, std::string("Browser nicht gefunden"));
    // The program goes on.
    w.LoadFile(fx("classic_629_turnout.hex"));
    QCOMPARE(w.lbl_header->text(), QStringLiteral("Stellino  ab V3.51"));
}

QTEST_MAIN(TstMainWindowBrowse)
#include "tst_main_window_browse.moc"
