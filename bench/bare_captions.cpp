// The second yardstick for start-up: the bare window with a menu bar, plus
// the main window's captions as plain labels in the same faces and sizes, at
// their places. Against it, start-up shows what the game costs beyond its
// own text (the font engines are most of the first frame's cost).
#include "controls.h"
#include "faces.h"
#include "mainwindow.h"
#include "twips.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setLayoutDirection(Qt::LeftToRight); // as the game lays out
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("bare with captions"));
    for (const char *menu : {"קובץ", "אפשרויות", "עזרה"})
        window.menuBar()->addMenu(QString::fromUtf8(menu))->addAction(QStringLiteral("item"));
    auto *client = new QWidget(&window);
    client->setFont(controls::windowFont());
    window.setCentralWidget(client);
    for (const controls::Control &c : MainWindow::table()) {
        if (c.kind == controls::Kind::Line || c.kind == controls::Kind::Picture || c.hidden || !*c.caption)
            continue;
        auto *label = new QLabel(QString::fromUtf8(c.caption), client);
        if (c.font.face)
            label->setFont(controls::toQFont(c.font));
        label->setGeometry(controls::rectToPx(c.at[0], c.at[1], c.at[2], c.at[3]));
    }
    window.resize(483, 435);
    window.show();
    return QApplication::exec();
}
