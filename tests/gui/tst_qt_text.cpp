// Texts and paths crossing between the core's std::string and the window's QString.

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <fstream>
#include <string>

#include "gui/common/QtText.h"

using hz::gui::fromPath;
using hz::gui::fromStd;
using hz::gui::toPath;
using hz::gui::toStd;

class TstQtText : public QObject {
    Q_OBJECT
private slots:
    void textsCrossBothWays_data();
    void textsCrossBothWays();
    void pathsReachTheFileSystem();
};

void TstQtText::textsCrossBothWays_data()
{
    QTest::addColumn<QByteArray>("utf8");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("umlauts") << QByteArray("Geänderte Werte übernehmen?")
                             << QStringLiteral(u"Geänderte Werte übernehmen?");
    QTest::newRow("zero byte inside") << QByteArray("a\0b", 3)
                                      << QString(QStringLiteral(u"a") + QChar(0) + QStringLiteral(u"b"));
    QTest::newRow("line breaks") << QByteArray("Zeile 1\r\nZeile 2") << QStringLiteral(u"Zeile 1\r\nZeile 2");
}

void TstQtText::textsCrossBothWays()
{
    QFETCH(QByteArray, utf8);
    QFETCH(QString, text);
    const std::string s(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    QCOMPARE(fromStd(s), text);
    QCOMPARE(toStd(text), s);
}

void TstQtText::pathsReachTheFileSystem()
{
    // The core opens files with the bytes it is given; a folder and file name with umlauts
    // must name the same file on both sides.
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral(u"Weichendekoder Küche.hex"));
    {
        std::ofstream out(toPath(path), std::ios::binary);
        QVERIFY(out.good());
        out << ":00000001FF\n";
    }
    QVERIFY(QFile::exists(path));
    QCOMPARE(fromPath(toPath(path)), path);
}

QTEST_GUILESS_MAIN(TstQtText)
#include "tst_qt_text.moc"
