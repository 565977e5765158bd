// The yardstick for start-up: a bare Qt main window with a menu bar and
// nothing else, measured the same way as the game.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare"));
    window.menuBar()->addMenu(QStringLiteral("menu"))->addAction(QStringLiteral("item"));
    window.resize(483, 435);
    window.show();
    return QApplication::exec();
}
