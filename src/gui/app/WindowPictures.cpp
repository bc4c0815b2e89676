#include "gui/app/WindowPictures.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QTimer>

#include "gui/tools/LayoutOverviewDialog.h"

namespace hz::gui {

namespace {

// How long a menu entry may take to open its window: it does so at once, or not at all. Once the
// window is there, its work (a folder scanned) is waited for however long it takes.
constexpr int kOpenWaitMs = 2000;
constexpr int kPollMs = 20;

QPixmap windowWithMenu(QMainWindow& window, QMenu& menu)
{
    const QPixmap shot = window.grab();
    QMenuBar* bar = window.menuBar();
    const QPoint at = bar->mapTo(&window, bar->actionGeometry(menu.menuAction()).bottomLeft());
    menu.ensurePolished();
    menu.adjustSize();
    // A menu longer than the window hangs out below it, as on the screen.
    const QRect whole = QRect(QPoint(0, 0), shot.deviceIndependentSize().toSize()).united(QRect(at, menu.size()));
    QPixmap picture(whole.size() * shot.devicePixelRatio());
    picture.setDevicePixelRatio(shot.devicePixelRatio());
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.drawPixmap(0, 0, shot);
    menu.render(&painter, at);
    return picture;
}

// The first window apart from `owner` that is shown and done with its work; `busy` tells that
// one is shown but still at work.
QWidget* openedWindow(const QWidget& owner, bool& busy)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w == &owner || !w->isVisible() || qobject_cast<QMenu*>(w))
            continue;
        if (const auto* overview = qobject_cast<LayoutOverviewDialog*>(w); overview && overview->scanning()) {
            busy = true;
            return nullptr;
        }
        return w;
    }
    return nullptr;
}

QPixmap windowOfEntry(QMainWindow& window, QAction& entry, QString& error)
{
    if (!entry.isEnabled()) {
        error = QStringLiteral("Der Menüeintrag „%1“ ist gerade nicht verfügbar.")
                    .arg(entry.text().remove(QLatin1Char('&')));
        return {};
    }
    QPixmap picture;
    bool seen = false;
    bool drawn = false;
    QEventLoop loop;
    // A modal dialog runs its own loop inside trigger(), a window that is only shown returns at
    // once: the timer looks out for it either way, draws it and closes it.
    QTimer poll;
    poll.setInterval(kPollMs);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (drawn)
            return;
        bool busy = false;
        QWidget* opened = openedWindow(window, busy);
        seen = seen || busy;
        if (!opened)
            return;
        picture = opened->grab();
        drawn = true;
        opened->close();
        loop.quit();
    });
    QTimer::singleShot(kOpenWaitMs, &loop, [&] {
        if (!seen)
            loop.quit();
    });
    poll.start();
    entry.trigger();
    if (!drawn)
        loop.exec();
    poll.stop();
    if (!drawn)
        error = QStringLiteral("Der Menüeintrag „%1“ hat kein Fenster geöffnet.")
                    .arg(entry.text().remove(QLatin1Char('&')));
    return picture;
}

} // namespace

DrawRequest ParseDrawRequest(const QString& text)
{
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    if (eq < 0)
        return {text, {}};
    return {text.left(eq), text.mid(eq + 1)};
}

QPixmap DrawWindowPart(QMainWindow& window, const QString& name, QString& error)
{
    if (name.isEmpty())
        return window.grab();
    if (QMenu* menu = window.findChild<QMenu*>(name))
        return windowWithMenu(window, *menu);
    if (QAction* entry = window.findChild<QAction*>(name))
        return windowOfEntry(window, *entry, error);
    error = QStringLiteral("Das Fenster hat kein Menü und keinen Menüeintrag namens „%1“.").arg(name);
    return {};
}

} // namespace hz::gui
