// The CV register frame alone: it mirrors the core model (widgets named and placed as the
// model's controls, made only for the rows shown), fits each list's captions into the room
// before the edit fields in a readable size, and forwards typing to the model's handler.

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/Session.h"
#include "core/pages/register/CvLists.h"
#include "gui/common/ControlFont.h"
#include "gui/pages/RegisterFrame.h"

using hz::pages::RegisterPage;

class TstRegisterFrame : public QObject {
    Q_OBJECT

    hz::test::ScriptedPrompter prompter;

    // Shows the page for the session's type, as the page host does.
    static void show(hz::Session& session, RegisterFrame& f, int identifier)
    {
        session.ident.Identifier = identifier;
        session.pages.ShowPage(hz::PageRegister, {session.image, session.prompter(), session.ident.Identifier});
        f.setGeometry(5, 8, RegisterPage::kWidth, RegisterPage::kHeight);
        f.refresh();
    }

private slots:
    void widgetsMirrorTheModelAndAreMadeForShownRowsOnly();
    void rowsKeepTheirFontWhenTheFrameChangesIt();
    void captionsFitBeforeTheirEdits_data();
    void captionsFitBeforeTheirEdits();
    void aShorterListGetsItsOwnFontBack();
    void typingGoesThroughTheModel();
    void columnSeparatorsCanBeSeen();
};

void TstRegisterFrame::widgetsMirrorTheModelAndAreMadeForShownRowsOnly()
{
    hz::Session session(prompter);
    RegisterFrame f(session.pages.page<RegisterPage>(), nullptr);
    f.refresh();
    QCOMPARE(f.objectName(), QStringLiteral("FrameRegister1"));
    QVERIFY(f.findChildren<QLineEdit*>().isEmpty()); // nothing shown, nothing made
    session.image.resetMemory();
    show(session, f, 0x4400);
    QCOMPARE(f.findChildren<QLineEdit*>().size(), 25);
    QCOMPARE(f.findChild<QFrame*>("pnl_cv")->geometry(), QRect(0, 0, 940, 555));
    QCOMPARE(f.findChild<QFrame*>("Line2")->geometry(), QRect(478, 8, 2, 554));
    for (int row : {0, 20, 21, 24}) {
        auto* edit = f.findChild<QLineEdit*>(QStringLiteral("CvEdits[%1]").arg(row));
        auto* label = f.findChild<QLabel*>(QStringLiteral("CvLabels[%1]").arg(row));
        QVERIFY(edit && label);
        const hz::pages::Rect e = *session.pages.page<RegisterPage>().edit(row).geometry;
        QCOMPARE(edit->geometry(), QRect(e.left, e.top, e.width, e.height));
        QCOMPARE(edit->parentWidget(), f.panel());
        QVERIFY(!edit->isHidden() && !label->isHidden());
        QCOMPARE(edit->text(), QStringLiteral("255"));
        QCOMPARE(label->text(), QString::fromStdString(session.pages.page<RegisterPage>().label(row).caption));
    }
    // a row asked for is made hidden
    QVERIFY(f.edit(300)->isHidden());
}

void TstRegisterFrame::rowsKeepTheirFontWhenTheFrameChangesIt()
{
    hz::Session session(prompter);
    RegisterFrame f(session.pages.page<RegisterPage>(), nullptr);
    QFont big = f.font();
    big.setPointSize(big.pointSize() + 20);
    big.setBold(true);
    f.setFont(big);
    QCOMPARE(f.label(0)->font(), rowControlFont());
    QCOMPARE(f.edit(300)->font(), rowControlFont());
}

void TstRegisterFrame::captionsFitBeforeTheirEdits_data()
{
    QTest::addColumn<int>("identifier");
    QTest::newRow("F-Dekoder mit CV") << 0x4400;
    QTest::newRow("Forsta 16F18324") << 0x14B00;
    QTest::newRow("Knipso 16F18324") << 0x15000;
}

void TstRegisterFrame::captionsFitBeforeTheirEdits()
{
    QFETCH(int, identifier);
    hz::Session session(prompter);
    session.image.resetMemory();
    RegisterFrame f(session.pages.page<RegisterPage>(), nullptr);
    show(session, f, identifier);
    const auto& list = hz::CvListFor(identifier);
    for (std::size_t k = 0; k < list.size(); ++k) {
        QLabel* label = f.label(static_cast<int>(k));
        const QString caption = QString::fromStdString(list[k].caption);
        QCOMPARE(label->text(), caption);
        // every caption can be read in full: it fits into its label, the label ends before
        // the edit field, and the tool tip repeats the caption
        QVERIFY2(label->fontMetrics().horizontalAdvance(caption) <= label->width(), qPrintable(caption));
        QVERIFY(label->geometry().right() < f.edit(static_cast<int>(k))->x() - 2);
        QCOMPARE(label->toolTip(), caption);
        QCOMPARE(label->font(), f.label(0)->font()); // one font for the whole list
        // the field shows the largest value whole
        QVERIFY(f.edit(static_cast<int>(k))->fontMetrics().horizontalAdvance(QStringLiteral("255")) + 4 <=
                f.edit(static_cast<int>(k))->width() - 4);
    }
    // The captions use the frame's width before they give up size: they keep the row font's
    // size (8 pt), narrowed at most to 90 %, where 7 pt was all the old 175-pixel room allowed.
    const QFont font = f.label(0)->font();
    QCOMPARE(font.pointSizeF(), rowControlFont().pointSizeF());
    QVERIFY(font.stretch() == QFont::AnyStretch || font.stretch() >= 90);
}

void TstRegisterFrame::aShorterListGetsItsOwnFontBack()
{
    hz::Session session(prompter);
    session.image.resetMemory();
    RegisterFrame f(session.pages.page<RegisterPage>(), nullptr);
    show(session, f, 0x15000);
    show(session, f, 0x4400);
    RegisterFrame fresh(session.pages.page<RegisterPage>(), nullptr);
    fresh.refresh();
    QCOMPARE(f.label(5)->font(), fresh.label(5)->font());
    QVERIFY(f.label(61)->isHidden());
    QVERIFY(f.label(61)->toolTip().isEmpty());
}

void TstRegisterFrame::typingGoesThroughTheModel()
{
    prompter.clear();
    hz::Session session(prompter);
    session.LoadFile(hz::test::fixture("f18324_function.hex"));
    prompter.clear();
    RegisterFrame f(session.pages.page<RegisterPage>(), nullptr);
    f.resize(940, 555);
    f.refresh();
    f.show();
    f.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f));

    QLineEdit* cv29 = f.edit(6);
    const auto ee = [&] { return QString::fromStdString(session.image.get_Hex_EE(0x6A)); };
    cv29->clear();
    QTest::keyClicks(cv29, "7");
    QCOMPARE(ee(), QStringLiteral("07"));
    QCOMPARE(session.pages.page<RegisterPage>().edit(6).text, std::string("7"));

    // the refused keystroke: the message, the text as typed, the focus back in the field
    cv29->clear();
    f.edit(0)->setFocus();
    QTest::keyClicks(cv29, "1a");
    QCOMPARE(ee(), QStringLiteral("01"));
    QCOMPARE(cv29->text(), QStringLiteral("1a"));
    QCOMPARE(prompter.shown.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(prompter.shown[0].text),
             QString::fromUtf8("Ungültige Eingabe.\rZugelassen sind nur Zahlen"));
    QVERIFY(cv29->hasFocus());
}

void TstRegisterFrame::columnSeparatorsCanBeSeen()
{
    hz::Session session(prompter);
    RegisterFrame f(session.pages.page<RegisterPage>(), nullptr);
    session.image.resetMemory();
    show(session, f, 0x4400);
    const QColor background = f.panel()->palette().color(QPalette::Window);
    for (const char* name : {"Line1", "Line2", "Line3"}) {
        auto* line = f.findChild<QFrame*>(QString::fromLatin1(name));
        QVERIFY2(line, name);
        // a separator drawn only in the background colour cannot be told from the panel
        const QImage drawn = line->grab().toImage();
        int marked = 0;
        for (int x = 0; x < drawn.width(); ++x)
            marked += QColor(drawn.pixel(x, drawn.height() / 2)) != background ? 1 : 0;
        QVERIFY2(marked > 0, name);
    }
}

QTEST_MAIN(TstRegisterFrame)
#include "tst_register_frame.moc"
