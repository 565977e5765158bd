// Memory over a long session: games played through the real windows (each
// result window shown, drawn and left by its button), with the resident size
// read every 1,000 games. Figures, not pass/fail thresholds.
//   bench_memory [games]        (default 10,000)
#include "appsetup.h"
#include "rules.h"
#include "windowowner.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <malloc.h>

namespace {

double residentMiB()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096 / (1024 * 1024) : 0;
}

// Answers each result window once it has been drawn, by its button.
class Leaver : public QObject
{
public:
    Leaver()
    {
        timer_.setInterval(0);
        connect(&timer_, &QTimer::timeout, this, [] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible() || !modal->windowHandle()->isExposed())
                return;
            modal->repaint();
            modal->findChild<QAbstractButton *>(QStringLiteral("Command1"))->click();
        });
        timer_.start();
    }

private:
    QTimer timer_;
};

// Winning lines and a draw, in turn, so that every result window is used.
constexpr int kGames[][9] = {
    {1, 4, 2, 5, 3},             // X: top row
    {4, 1, 5, 2, 9, 3},          // O: top row
    {1, 2, 3, 5, 4, 6, 8, 7, 9}, // draw
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    app::configure();
    const int games = argc > 1 ? std::atoi(argv[1]) : 10000;

    WindowOwner owner;
    MainWindow &main = owner.mainWindow();
    main.findChild<QTimer *>(QStringLiteral("Timer1"))->stop();
    main.show();
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
    const double start = residentMiB();
    std::printf("%-8s %12s %16s\n", "games", "resident MiB", "heap in use MiB");
    std::printf("%-8d %12.1f %16.2f\n", 0, start, mallinfo2().uordblks / 1048576.0);

    Leaver leaver;
    for (int game = 1; game <= games; ++game) {
        for (int k : kGames[game % 3]) {
            if (k)
                game::placeMark(main, k);
        }
        main.checkBoard();
        main.repaint();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (game % 1000 == 0) {
            std::printf("%-8d %12.1f %16.2f\n", game, residentMiB(), mallinfo2().uordblks / 1048576.0);
        }
    }
    std::printf("tallies: %s X, %s O, %s draws\n", qPrintable(main.tally(game::Tally::XWins)),
                qPrintable(main.tally(game::Tally::OWins)), qPrintable(main.tally(game::Tally::Draws)));
    return 0;
}
