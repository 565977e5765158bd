#pragma once

#include "appsetup.h"
#include "mainwindow.h"
#include "support/textboard.h"
#include "windowowner.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace ui {

// Expected rectangles are written in twips, as the window descriptions give them.
inline QRect px(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

inline QPoint px(int x, int y)
{
    return QPoint(x / 15, y / 15);
}

inline QStringList tallies(const MainWindow &main)
{
    return {main.tally(game::Tally::XWins), main.tally(game::Tally::OWins), main.tally(game::Tally::Draws)};
}

inline std::unique_ptr<WindowOwner> &currentOwner()
{
    static std::unique_ptr<WindowOwner> owner;
    return owner;
}

// Ends the owner of the case before and every window it held.
inline void reset()
{
    currentOwner().reset();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Each case starts like a fresh run: a new owner with no window yet.
inline WindowOwner &freshOwner()
{
    reset();
    currentOwner() = std::make_unique<WindowOwner>();
    return *currentOwner();
}

// The owner of the running case.
inline WindowOwner &windows()
{
    return *currentOwner();
}

// The window of that name that the program has loaded, if any: unloaded
// windows are gone once Qt has destroyed them.
inline QWidget *loaded(const char *name)
{
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1StringView(name))
            return w;
    return nullptr;
}

// The control (or action, or timer) of that name: a test that names one the
// window does not have ends there, naming it, rather than crash on a null.
template <class T = QWidget>
T *child(const QObject *window, const char *name)
{
    T *found = window->findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("%s has no %s named %s", qPrintable(window->objectName()), T::staticMetaObject.className(), name);
    return found;
}

// A fresh main window with its board check stopped, so that only the test
// decides when the check runs.
inline MainWindow &freshMain()
{
    MainWindow &main = freshOwner().mainWindow();
    child<QTimer>(&main, "Timer1")->stop();
    main.show();
    return main;
}

inline void click(QWidget *window, const char *name)
{
    QWidget *w = child(window, name);
    QVERIFY2(w, name);
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

// Acts on the next modal window once it is on screen: modal windows run their
// own event loop, so the answer must come from a timer. A window that the
// action leaves open fails the test and is hidden, so that the test ends.
inline void whenModal(std::function<void(QWidget *)> act, QWidget *ignore = nullptr)
{
    auto *timer = new QTimer(qApp);
    timer->setObjectName(QStringLiteral("whenModal"));
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, act, ignore] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == ignore || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        QPointer<QWidget> guard(modal);
        act(modal);
        QTimer::singleShot(3000, [guard] {
            if (guard && guard->isVisible()) {
                QTest::qFail("the modal window stayed open", __FILE__, __LINE__);
                guard->hide();
            }
        });
    });
    timer->start();
}

// Runs one board check; `answer` leaves each result window it meets and
// records its name.
inline QStringList checkAnswering(MainWindow &main, std::function<void(QWidget *)> answer)
{
    QStringList seen;
    std::function<void(QWidget *)> step;
    step = [&](QWidget *w) {
        seen << w->objectName();
        whenModal(step); // the same pass may show another one
        answer(w);
    };
    whenModal(step);
    main.checkBoard();
    // Stop waiting for a window that did not come.
    for (QTimer *t : qApp->findChildren<QTimer *>(QStringLiteral("whenModal"), Qt::FindDirectChildrenOnly))
        t->deleteLater();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return seen;
}

inline void pressButton(QWidget *w)
{
    QTest::mouseClick(child(w, "Command1"), Qt::LeftButton);
}

inline void setBoard(MainWindow &main, const QString &rows)
{
    writeRows(main, rows);
}
inline QString board(const MainWindow &main)
{
    return readRows(main);
}

} // namespace ui
