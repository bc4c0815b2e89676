#pragma once
// What the main window's tests share: a window wired to scripted answers, the fixture
// firmwares, small firmwares built on the spot, and readers of the window's state.

#include <QColor>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "FirmwareBuilder.h"
#include "HexRecords.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedPrompter.h"
#include "TestFiles.h"
#include "core/Session.h"
#include "gui/app/TFormMain.h"
#include "gui/pages/AddressRowsFrame.h"
#include "gui/pages/PageFrame.h"
#include "gui/pages/RegisterFrame.h"

namespace hz::test::window {

inline const QColor kWhite(255, 255, 255);
inline const QColor kGreen(0, 255, 0);
inline const QColor kRed(255, 0, 0);

inline QString fx(const char* name) { return QString::fromStdString(fixture(name)); }

// A window wired to scripted answers, a settings file in its own folder and a recorded URL
// opener (which reports `browserOpens` back). The data folder is the one beside the test
// program (the build tree's, with the manual the build writes) unless `dataFolder` names one.
struct Harness {
    hz::test::ScriptedPrompter prompter;
    hz::test::ScriptedFileDialogs dialogs;
    QStringList openedUrls;
    bool browserOpens = true;
    QString dataFolder;
    // Stands for the print dialog of "Einstellungsblatt drucken…" when set.
    std::function<bool(QPrinter&, QWidget*)> printDialog;
    QTemporaryDir dir;
    QString settingsPath;
    std::unique_ptr<TFormMain> w;

    explicit Harness(QString settings = {})
    {
        settingsPath = settings.isEmpty() ? dir.filePath(QStringLiteral("hexzwirbel.ini")) : settings;
    }
    TFormMain& make()
    {
        hz::gui::MainWindowServices s;
        s.prompter = &prompter;
        s.dialogs = &dialogs;
        s.openUrl = [this](const QString& url) {
            openedUrls << url;
            return browserOpens;
        };
        s.settingsPath = settingsPath;
        s.dataFolder = dataFolder;
        s.printDialog = printDialog;
        w = std::make_unique<TFormMain>(s);
        return *w;
    }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
};

// The height of the window's client area - the window without the menu bar above it.
inline int clientHeight(const TFormMain& w)
{
    const QWidget* menu = w.menuWidget();
    return w.height() - (menu ? menu->sizeHint().height() : 0);
}

inline QColor baseColour(const QLineEdit* e) { return e->palette().color(QPalette::Base); }

inline QStringList status(const TFormMain& w)
{
    QStringList s;
    for (const QLabel* l : w.StatusPanels)
        s << l->text();
    return s;
}

// EEPROM byte texts of a saved file, read back through the core.
inline std::array<std::string, 3> slotBytes(const QString& file, int slot)
{
    hz::test::ScriptedPrompter p;
    hz::Session s(p);
    s.reader.ReadHexFile(file.toStdString());
    return {s.image.eeprom(slot), s.image.eeprom(slot + 16), s.image.eeprom(slot + 32)};
}

// A classic 12F629 firmware of the DCC function decoder 0x3F00 ("Stelldua - F-Dekoder
// Blinken"): rows 1 to 4 hold functions 1 to 4 (codes 81, 82, 84, 88) at addresses 3 to 6.
inline void writeFunctionDecoder(const QString& path)
{
    using hz::test::rec;
    hz::test::writeFile(
        path.toStdString(),
        hz::test::joinCrLf({hz::test::kBase0, rec(0x0000, "00303F300030"), rec(0x0010, "0519"),
                            rec(0x4000, "0100030006000000"), rec(0x400E, "C431"), rec(0x4202, "8100820084008800"),
                            rec(0x4222, "0300040005000600"), rec(0x4242, "0000000000000000"), hz::test::kEnd}));
}

// The turnout decoder 0x208 without any address receiver signature: format "ohne".
inline void writeTurnoutWithoutFormat(const QString& path)
{
    using hz::test::rec;
    hz::test::writeFile(path.toStdString(), hz::test::joinCrLf({hz::test::kBase0, rec(0x0000, "083002300030"),
                                                                rec(0x4000, "0100030006000000"), rec(0x400E, "C431"),
                                                                rec(0x4200, "03000000"), hz::test::kEnd}));
}

// Identifier 0x0A0B0C, which no decoder type has.
inline void writeUnknownDecoder(const QString& path)
{
    using hz::test::rec;
    hz::test::writeFile(path.toStdString(),
                        hz::test::joinCrLf({hz::test::kBase0, rec(0x0000, "0C300B300A30"), rec(0x0010, "8B1C"),
                                            rec(0x4000, "0100030006000000"), rec(0x400E, "C431"), hz::test::kEnd}));
}

inline int shownRows(TFormMain& w)
{
    int n = 0;
    for (const auto& r : w.addressRows())
        n += r.caption->isHidden() ? 0 : 1;
    return n;
}

// The window's frame of the page with this object name ("FrameRegister1"), as the frame class
// F it was made as; nullptr when the window has no such frame or it is of another class.
template <class F = PageFrame> F* frameOf(const TFormMain& w, const char* objectName)
{
    for (PageFrame* f : w.frames())
        if (f->objectName() == QLatin1String(objectName))
            return dynamic_cast<F*>(f);
    return nullptr;
}

// The six page frames, in the order visibleFrames lists them.
inline constexpr const char* kPageFrames[] = {"FrameZusatz1",    "FrameBlinkmuster1", "FrameBlinkmuster_led1",
                                              "FrameKornelAdr1", "FrameKornel1",      "FrameRegister1"};

inline QStringList visibleFrames(const TFormMain& w)
{
    QStringList v;
    for (const char* name : kPageFrames)
        if (!frameOf(w, name)->isHidden())
            v << QString::fromLatin1(name);
    return v;
}

} // namespace hz::test::window
