// What the program spends its time on: building its windows and the board
// check that runs four times a second. Figures, not pass/fail thresholds.
#include "appsetup.h"
#include "mainwindow.h"
#include "resultwindow.h"
#include "windowowner.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

class Bench : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { app::configure(); }

    void buildMainWindow()
    {
        QBENCHMARK
        {
            MainWindow window;
        }
    }

    void showMainWindow()
    {
        QBENCHMARK
        {
            MainWindow window;
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
        }
    }

    void buildResultWindow()
    {
        QBENCHMARK
        {
            ResultWindow window(game::Result::OWon);
        }
    }

    // The tick on a board in play: sixteen line tests and the draw test.
    void boardCheckTick()
    {
        WindowOwner owner;
        MainWindow &main = owner.mainWindow();
        main.findChild<QTimer *>(QStringLiteral("Timer1"))->stop();
        for (int k : {1, 2, 5, 6})
            main.setCell(k, k % 2 ? QStringLiteral("X") : QStringLiteral("O"));
        QBENCHMARK
        {
            main.checkBoard();
        }
    }
};

QTEST_MAIN(Bench)
#include "bench_velmora.moc"
