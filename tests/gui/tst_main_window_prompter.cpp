// The message boxes behind the core's questions: icon, title, exact button set, the answer
// of each button and of Escape, line breaks and texts that look like markup. Also that Qt's
// own button texts come out in German.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <QtTest>

#include <functional>

#include "gui/app/Translations.h"
#include "gui/common/MessageBoxPrompter.h"

Q_DECLARE_METATYPE(hz::MsgKind)
Q_DECLARE_METATYPE(hz::Buttons)
Q_DECLARE_METATYPE(hz::Answer)

namespace {

struct SeenBox {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QString title, text;
    Qt::TextFormat format = Qt::AutoText;
    QWidget* parent = nullptr;
    QString yesText;
};

// Waits for the modal message box, records it and lets `act` answer it.
void answerNextBox(SeenBox& seen, std::function<void(QMessageBox*)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, &seen, act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        timer->stop();
        timer->deleteLater();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.format = box->textFormat();
        seen.parent = box->parentWidget();
        if (QAbstractButton* yes = box->button(QMessageBox::Yes))
            seen.yesText = yes->text();
        act(box);
    });
    timer->start();
}

} // namespace

class TstMainWindowPrompter : public QObject {
    Q_OBJECT

private slots:
    void buttonSets_data();
    void buttonSets();
    void textAndTitle();
    void germanButtonTexts();
};

void TstMainWindowPrompter::buttonSets_data()
{
    QTest::addColumn<hz::MsgKind>("kind");
    QTest::addColumn<hz::Buttons>("set");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("press"); // a standard button, 0 for Escape, -1 for Enter
    QTest::addColumn<hz::Answer>("answer");

    using B = QMessageBox;
    using hz::Answer;
    using hz::Buttons;
    using hz::MsgKind;
    QTest::newRow("error ok") << MsgKind::Error << Buttons::Ok << int(B::Critical) << int(B::Ok) << int(B::Ok)
                              << Answer::Ok;
    QTest::newRow("plain ok") << MsgKind::Plain << Buttons::Ok << int(B::NoIcon) << int(B::Ok) << int(B::Ok)
                              << Answer::Ok;
    QTest::newRow("warning cancel") << MsgKind::Warning << Buttons::Cancel << int(B::Warning) << int(B::Cancel)
                                    << int(B::Cancel) << Answer::Cancel;
    QTest::newRow("ignore") << MsgKind::Warning << Buttons::Ignore << int(B::Warning) << int(B::Ignore)
                            << int(B::Ignore) << Answer::Ignore;
    QTest::newRow("cancel ignore: ignore") << MsgKind::Warning << Buttons::CancelIgnore << int(B::Warning)
                                           << int(B::Cancel | B::Ignore) << int(B::Ignore) << Answer::Ignore;
    QTest::newRow("cancel ignore: escape") << MsgKind::Warning << Buttons::CancelIgnore << int(B::Warning)
                                           << int(B::Cancel | B::Ignore) << 0 << Answer::Cancel;
    QTest::newRow("yes ignore: yes") << MsgKind::Warning << Buttons::YesIgnore << int(B::Warning)
                                     << int(B::Yes | B::Ignore) << int(B::Yes) << Answer::Yes;
    QTest::newRow("yes ignore: escape") << MsgKind::Warning << Buttons::YesIgnore << int(B::Warning)
                                        << int(B::Yes | B::Ignore) << 0 << Answer::Ignore;
    QTest::newRow("yes no: yes") << MsgKind::Warning << Buttons::YesNo << int(B::Warning) << int(B::Yes | B::No)
                                 << int(B::Yes) << Answer::Yes;
    QTest::newRow("yes no: no") << MsgKind::Warning << Buttons::YesNo << int(B::Warning) << int(B::Yes | B::No)
                                << int(B::No) << Answer::No;
    QTest::newRow("yes no: escape") << MsgKind::Warning << Buttons::YesNo << int(B::Warning) << int(B::Yes | B::No) << 0
                                    << Answer::No;
    // The unsaved-changes question: Enter keeps the edit, only a deliberate "Ja" discards it.
    QTest::newRow("yes no, default no: enter")
        << MsgKind::Warning << Buttons::YesNoDefaultNo << int(B::Warning) << int(B::Yes | B::No) << -1 << Answer::No;
    QTest::newRow("yes no, default no: yes") << MsgKind::Warning << Buttons::YesNoDefaultNo << int(B::Warning)
                                             << int(B::Yes | B::No) << int(B::Yes) << Answer::Yes;
}

void TstMainWindowPrompter::buttonSets()
{
    QFETCH(hz::MsgKind, kind);
    QFETCH(hz::Buttons, set);
    QFETCH(int, icon);
    QFETCH(int, buttons);
    QFETCH(int, press);
    QFETCH(hz::Answer, answer);

    hz::gui::MessageBoxPrompter prompter;
    SeenBox seen;
    answerNextBox(seen, [press](QMessageBox* box) {
        if (press == 0)
            QTest::keyClick(box, Qt::Key_Escape);
        else if (press == -1)
            QTest::keyClick(box, Qt::Key_Return);
        else
            box->button(static_cast<QMessageBox::StandardButton>(press))->click();
    });
    QCOMPARE(prompter.ask(kind, "Frage", set), answer);
    QCOMPARE(int(seen.icon), icon);
    QCOMPARE(int(seen.buttons), buttons);
}

void TstMainWindowPrompter::textAndTitle()
{
    QWidget owner;
    hz::gui::MessageBoxPrompter prompter(&owner);
    SeenBox seen;
    answerNextBox(seen, [](QMessageBox* box) { box->button(QMessageBox::Cancel)->click(); });
    prompter.ask(hz::MsgKind::Warning, "Ungültige Eingabe.\rZugelassen sind nur Zahlen\r\n<Weiche 1> <b>x</b>\nEnde",
                 hz::Buttons::Cancel);
    QCOMPARE(seen.title, QStringLiteral("HEX Zwirbel"));
    QCOMPARE(seen.text, QString::fromUtf8("Ungültige Eingabe.\nZugelassen sind nur Zahlen\n<Weiche 1> <b>x</b>\nEnde"));
    QCOMPARE(seen.format, Qt::PlainText); // "<Weiche 1>" is a caption, not markup
    QCOMPARE(seen.parent, &owner);
}

void TstMainWindowPrompter::germanButtonTexts()
{
    if (!InstallGermanQtTranslations())
        QSKIP("Qt's German translations are not installed (qt6-translations-l10n)");
    hz::gui::MessageBoxPrompter prompter;
    SeenBox seen;
    answerNextBox(seen, [](QMessageBox* box) { box->button(QMessageBox::No)->click(); });
    prompter.ask(hz::MsgKind::Warning, QString::fromUtf8("Geänderte Werte übernehmen?").toStdString(),
                 hz::Buttons::YesNo);
    QCOMPARE(seen.yesText, QStringLiteral("&Ja"));
}

QTEST_MAIN(TstMainWindowPrompter)
#include "tst_main_window_prompter.moc"
