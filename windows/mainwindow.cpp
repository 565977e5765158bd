#include "mainwindow.h"

#include "accessibility.h"
#include "boardkeys.h"
#include "captionlabel.h"
#include "lineshape.h"
#include "mainwindowtitle.h"
#include "notice.h"
#include "rules.h"
#include "titlebar.h"
#include "window.h"
#include "windowmanager.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <optional>

using namespace controls;

namespace {

// The tables keep their rows as laid out.
// clang-format off
constexpr Colour kGreen = rgb(0, 192, 0);
constexpr Colour kOrange = rgb(255, 128, 0);
constexpr Colour kStrikeBlue = rgb(0, 0, 192);
constexpr Font kCellFont{"David", 69.75, 700};
constexpr Font kDavid26{"David", 26.25, 350};
constexpr Font kDavid18{"David", 18, 350};
constexpr Font kDavid15{"David", 15.75, 350};
constexpr Font kDavid36{"David", 36, 350};
constexpr Font kSans18{"MS Sans Serif", 18, 400};

constexpr windows::WindowProperties kWindow{
    .name = "Velmora",
    .caption = kMainWindowTitle,
    .clientWidth = 7245,
    .clientHeight = 6240,
    .back = kGreen,
    .placement = windows::Placement::CentreScreen,
};

constexpr Control cell(const char *name, int left, int top)
{
    return {.name = name, .kind = Kind::Label, .at = {left, top, 1095, 1095}, .font = kCellFont, .back = kOrange,
            .framed = true};
}

constexpr Control line(const char *name, int x1, int y1, int x2, int y2)
{
    return {.name = name, .kind = Kind::Line, .at = {x1, y1, x2, y2}};
}

constexpr Control strike(const char *name, int x1, int y1, int x2, int y2)
{
    return {.name = name, .kind = Kind::Line, .at = {x1, y1, x2, y2}, .fore = kStrikeBlue, .lineWidth = 5,
            .hidden = true};
}

// Front to back.
constexpr Control kControls[] = {
    {.name = "Command2", .kind = Kind::Button, .at = {3360, 5640, 1215, 495}, .caption = "יציאה", .font = kSans18,
     .tab = 1},
    {.name = "Command1", .kind = Kind::Button, .at = {480, 5520, 1815, 615}, .caption = "משחק חדש", .font = kSans18,
     .tab = 0},
    {.name = "lbltako", .kind = Kind::Label, .at = {5760, 2280, 735, 375}, .caption = "0", .font = kDavid18,
     .back = kGreen, .framed = true},
    line("Line20", 5640, 2160, 7200, 2160),
    {.name = "Label19", .kind = Kind::Label, .at = {6675, 2280, 540, 300}, .caption = "תיקו", .font = kDavid15,
     .back = kGreen, .align = Align::Right},
    line("Line19", 5640, 4200, 7200, 4200),
    {.name = "Label18", .kind = Kind::Label, .at = {0, 5400, 5655, 855}, .back = rgb(0, 0, 255), .decorative = true},
    strike("Line18", 4680, 360, 4680, 5040),
    strike("Line17", 840, 360, 840, 5040),
    strike("Line16", 240, 4440, 5280, 4440),
    strike("Line15", 240, 840, 5280, 840),
    strike("Line14", 240, 2640, 5280, 2640),
    strike("Line13", 2760, 360, 2760, 5040),
    strike("Line12", 240, 360, 5280, 5040),
    strike("Line11", 5280, 360, 240, 5040),
    {.name = "Label15", .kind = Kind::Label, .at = {5640, 4800, 1695, 1455},
     .caption = "הבית צוות", .font = kDavid36, .back = rgb(192, 0, 192),
     .align = Align::Centre},
    {.name = "Label14", .kind = Kind::Label, .at = {5760, 4320, 1380, 435}, .caption = " :נבנה ע\"י",
     .font = kSans18, .back = rgb(255, 0, 255), .align = Align::Right},
    {.name = "Labelwinonum", .kind = Kind::Label, .at = {6600, 1560, 615, 495}, .caption = "0", .font = kSans18,
     .back = kGreen, .framed = true},
    {.name = "Labelwinxnum", .kind = Kind::Label, .at = {5760, 1560, 615, 495}, .caption = "0", .font = kSans18,
     .back = kGreen, .framed = true},
    line("Line10", 5640, 720, 7200, 720),
    line("Line9", 5640, 1440, 7200, 1440),
    line("Line8", 5640, 3000, 7200, 3000),
    line("Line7", 6480, 720, 6480, 2160),
    {.name = "Label13", .kind = Kind::Label, .at = {6600, 840, 615, 495}, .caption = " O", .font = kDavid26,
     .back = kGreen},
    {.name = "Label12", .kind = Kind::Label, .at = {5760, 840, 615, 495}, .caption = " X", .font = kDavid26,
     .back = kGreen},
    {.name = "Label11", .kind = Kind::Label, .at = {5640, 0, 1695, 735}, .caption = "לוח תוצאות",
     .font = {"MS Sans Serif", 13.5, 400}, .back = rgb(0, 192, 192), .align = Align::Centre},
    line("Line6", 5640, 0, 5640, 6240),
    {.name = "Label10", .kind = Kind::Label, .at = {5640, 3000, 1695, 420}, .caption = "תור מי עכשיו ",
     .font = kDavid15, .back = rgb(128, 128, 255), .align = Align::Right},
    {.name = "labelhow", .kind = Kind::Label, .at = {6240, 3480, 615, 615}, .caption = "X", .font = kDavid36,
     .back = rgb(0, 0, 0), .fore = rgb(255, 128, 255), .framed = true},
    line("Line5", 0, 5400, 5640, 5400),
    line("Line4", 0, 3600, 5640, 3600),
    line("Line3", 0, 1800, 5640, 1800),
    line("Line2", 1800, 0, 1800, 5400),
    line("Line1", 3720, 0, 3720, 5400),
    cell("Label9", 4080, 3960),
    cell("Label8", 2160, 3960),
    cell("Label7", 240, 3960),
    cell("Label6", 4080, 2160),
    cell("Label5", 2160, 2160),
    cell("Label4", 240, 2160),
    cell("Label3", 4080, 360),
    cell("Label2", 2160, 360),
    cell("Label1", 240, 360),
    {.name = "Label16", .kind = Kind::Label, .at = {5640, 3000, 1935, 3495}, .back = rgb(255, 255, 0),
     .decorative = true},
    {.name = "Label17", .kind = Kind::Label, .at = {5640, 0, 1695, 3015}, .back = rgb(192, 64, 0), .decorative = true},
};

using Command = MainWindow::Command;

struct MenuEntry
{
    const char *name;
    const char *caption;
    const char *shortcut = nullptr;
    std::optional<Command> command = {}; // none for a top-level menu
};

// Left to right; each top-level menu followed by its items.
constexpr MenuEntry kMenus[] = {
    {"flie", "קובץ"},
    {"new", "חדש", "F2", Command::NewGame},
    {"exit", "יציאה", "Ctrl+X", Command::Exit},
    {"options", "אפשרויות"},
    {"winerim", "ניקוי תוצאות", nullptr, Command::ClearTallies},
    {"howsfirst", "?מי ראשון", nullptr, Command::ChooseStarter},
    {"help", "עזרה"},
    {"howplay", "איך משחקים", nullptr, Command::HowToPlay},
    {"about", "אודות", nullptr, Command::About},
};

struct ButtonCommand
{
    const char *button;
    Command command;
};

constexpr ButtonCommand kButtons[] = {{"Command1", Command::NewGame}, {"Command2", Command::Exit}};

// Headers that name a control for screen readers ("X: 1", not "1").
struct LabelFor
{
    const char *label;
    const char *control;
};

constexpr LabelFor kLabels[] = {
    {"Label10", "labelhow"}, {"Label12", "Labelwinxnum"}, {"Label13", "Labelwinonum"}, {"Label19", "lbltako"}};

constexpr int kTickMs = 250;

constexpr const char *kTallyNames[] = {"Labelwinxnum", "Labelwinonum", "lbltako"};

// clang-format on
} // namespace

std::span<const controls::Control> MainWindow::table()
{
    return kControls;
}

MainWindow::MainWindow()
    : QMainWindow(nullptr, platform::windowFlags()), check_([this](game::Result result) { emit resultFound(result); })
{
    // The window manager says what its frame will be while the window is built.
    platform::askForFrame(this);
    auto *client = new QWidget(this);
    setCentralWidget(client);
    auto *bar = new QMenuBar(this);
    setMenuWidget(platform::withTitleBar(this, bar)); // our own title bar above it, where we draw one
    controls_ = build(client, kControls);
    buildMenus(bar);

    for (int k = 1; k <= kCells; ++k) {
        cells_[k - 1] = controls_.get<CaptionLabel>(QStringLiteral("Label%1").arg(k));
        connect(cells_[k - 1], &CaptionLabel::clicked, this, [this, k] { play(k, Focus::Stays); });
        connect(cells_[k - 1], &CaptionLabel::activated, this, [this, k] { play(k, Focus::MovesThere); });
        controls::makeBoardCell(cells_[k - 1]);
    }
    for (const LabelFor &l : kLabels)
        controls_.get<QLabel>(QLatin1StringView(l.label))->setBuddy(controls_.get(QLatin1StringView(l.control)));
    for (int line = kFirstStrike; line <= kLastStrike; ++line)
        strikes_[line - kFirstStrike] = controls_.get<LineShape>(QStringLiteral("Line%1").arg(line));
    for (size_t i = 0; i < tallies_.size(); ++i)
        tallies_[i] = controls_.get<CaptionLabel>(QLatin1StringView(kTallyNames[i]));
    nextMark_ = controls_.get<CaptionLabel>(u"labelhow");
    nameCells();
    notice_ = new controls::Notice(client); // readers follow events only from objects in their tree
    for (const ButtonCommand &b : kButtons) {
        connect(controls_.get<QPushButton>(QLatin1StringView(b.button)), &QPushButton::clicked, this,
                [this, command = b.command] { choose(command); });
    }

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(kTickMs);
    connect(timer_, &QTimer::timeout, this, &MainWindow::checkBoard);
    timer_->start();

    windows::applyProperties(this, client, kWindow);
}

void MainWindow::buildMenus(QMenuBar *bar)
{
    // F10 opens the first menu, as on the rest of the desktop.
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, bar,
            [bar] { openMenu(bar, bar->actions().constFirst()); });
    QMenu *menu = nullptr;
    for (const MenuEntry &entry : kMenus) {
        const QString caption = QString::fromUtf8(entry.caption);
        if (!entry.command) {
            menu = bar->addMenu(caption);
            menu->setObjectName(QString::fromLatin1(entry.name));
            menu->installEventFilter(this);
            continue;
        }
        QAction *action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(entry.name));
        if (entry.shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
        connect(action, &QAction::triggered, this, [this, command = *entry.command] { choose(command); });
    }
}

void MainWindow::play(int k, Focus focus)
{
    if (blockedByModal())
        return;
    const bool taken = !cell(k).isEmpty();
    const bool placed = game::placeMark(*this, k);
    if (placed)
        lastMove_ = cell(k) + QStringLiteral(", ") + place(k);
    if (focus == Focus::Stays)
        return;
    // From the keyboard or a screen reader, the cell played takes the focus,
    // so that the reader says what is there now; a mouse player sees nothing
    // move. Where it has the focus already, the reader is told the move. A
    // taken cell is said to be taken, not read as if just played.
    CaptionLabel *played = cells_[k - 1];
    if (taken)
        announce(QStringLiteral("המשבצת תפוסה"));
    else if (played->hasFocus() && placed)
        announce(played->accessibleName());
    else
        played->setFocus(Qt::OtherFocusReason);
}

QString MainWindow::place(int k)
{
    return QStringLiteral("שורה %1, עמודה %2").arg((k - 1) / 3 + 1).arg((k - 1) % 3 + 1);
}

void MainWindow::nameCells()
{
    namingDue_ = false;
    // The mark, the place, and whose turn it is while the game goes on: what a
    // reader says of a cell and a braille display shows.
    const bool over = game::anyLineComplete(*this) || game::boardFull(*this);
    const QString turn =
        over ? QString() : QStringLiteral(", תור ") + (game::xIsNext(nextMark()) ? game::kX : game::kO);
    for (int k = 1; k <= kCells; ++k) {
        const QString mark = cell(k);
        const QString name = (mark.isEmpty() ? QString() : mark + QStringLiteral(", ")) + place(k) + turn;
        if (cells_[k - 1]->accessibleName() != name)
            cells_[k - 1]->setAccessibleName(name);
    }
}

void MainWindow::openMenu(QMenuBar *bar, QAction *menu)
{
    // Open, with its first item highlighted, as the keyboard opens menus.
    bar->setActiveAction(menu);
    if (QMenu *items = menu->menu(); items && !items->actions().isEmpty())
        items->setActiveAction(items->actions().constFirst());
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Left and Right in an open menu go to the menu beside it, as Qt does by
    // itself, but also when a screen reader hands the key on (Qt 6.4 closes the
    // menu then).
    auto *menu = qobject_cast<QMenu *>(watched);
    if (!menu || event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent *>(event)->key();
    auto *bar = qobject_cast<QMenuBar *>(menu->menuAction()->associatedObjects().value(0));
    if ((key != Qt::Key_Left && key != Qt::Key_Right) || !bar || (menu->activeAction() && menu->activeAction()->menu()))
        return QMainWindow::eventFilter(watched, event);
    const QList<QAction *> menus = bar->actions();
    const qsizetype next =
        (menus.indexOf(menu->menuAction()) + (key == Qt::Key_Right ? 1 : -1) + menus.size()) % menus.size();
    menu->hide();
    openMenu(bar, menus[next]);
    return true;
}

bool MainWindow::event(QEvent *event)
{
    // The board's keys are the board's, whatever has the focus here.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (windows::cellForKey(*key) || windows::readsScoreboard(*key)) {
            event->accept();
            return true;
        }
    }
    return QMainWindow::event(event);
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    const int focused = int(std::find(cells_.begin(), cells_.end(), focusWidget()) - cells_.begin()) + 1;
    const bool onBoard = focused <= kCells;
    if (const int k = windows::cellForKey(*event)) {
        play(k, Focus::MovesThere);
    } else if (windows::readsScoreboard(*event)) {
        announce(scoreboard());
    } else if (const int to = onBoard ? windows::cellAfterArrow(focused, *event) : 0) {
        if (to == focused)
            announce(QStringLiteral("קצה הלוח"));
        cells_[to - 1]->setFocus(Qt::OtherFocusReason);
    } else if (event->key() == Qt::Key_Escape) {
        announce(QStringLiteral("אין מה לבטל"));
    } else if (onBoard
               && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space)) {
        play(focused, Focus::MovesThere);
    } else {
        QMainWindow::keyPressEvent(event);
    }
}

void MainWindow::announceNewGame()
{
    lastMove_.clear();
    announce(QStringLiteral("לוח ריק, תור ") + (game::xIsNext(nextMark()) ? game::kX : game::kO));
}

void MainWindow::announceTurn()
{
    announce(QStringLiteral("תור ") + (game::xIsNext(nextMark()) ? game::kX : game::kO));
}

void MainWindow::announceTalliesCleared()
{
    announce(QStringLiteral("התוצאות נוקו, ") + scoreboard());
}

QString MainWindow::scoreboard() const
{
    return QStringLiteral("X %1, O %2, תיקו %3")
        .arg(tally(game::Tally::XWins), tally(game::Tally::OWins), tally(game::Tally::Draws));
}

void MainWindow::announce(const QString &text)
{
    if (namingDue_)
        nameCells(); // a cell's name said after the notice would cut it short
    // Said while another of our windows is active (a result window about to
    // go), it would be cut short as readers follow the focus back here: it
    // waits until this window is active again.
    if (!isActiveWindow()) {
        pendingNotice_ = text;
        return;
    }
    pendingNotice_.clear();
    notice_->say(text);
}

void MainWindow::tell(const QString &text)
{
    notice_->say(text);
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // After the focus has come back, which Qt gives once the window is active.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !pendingNotice_.isEmpty()) {
        QTimer::singleShot(0, this, [this] {
            if (isActiveWindow() && !pendingNotice_.isEmpty())
                announce(std::exchange(pendingNotice_, {}));
        });
    }
}

bool MainWindow::blockedByModal() const
{
    // Every modal window of the program is modal to the whole application.
    const QWidget *modal = QApplication::activeModalWidget();
    return modal && modal != this;
}

void MainWindow::choose(Command command)
{
    if (!blockedByModal())
        emit commandChosen(command);
}

QString MainWindow::cell(int k) const
{
    return cells_[k - 1]->text();
}
void MainWindow::setCell(int k, const QString &text)
{
    cells_[k - 1]->setText(text);
    // Named once the whole change is made: the indicator follows the cell.
    if (!std::exchange(namingDue_, true))
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (namingDue_)
                    nameCells();
            },
            Qt::QueuedConnection);
}
QString MainWindow::nextMark() const
{
    return nextMark_->text();
}
void MainWindow::setNextMark(const QString &text)
{
    nextMark_->setText(text);
    nameCells();
}
bool MainWindow::strikeVisible(int line) const
{
    return !strikes_[line - kFirstStrike]->isHidden();
}
void MainWindow::setStrikeVisible(int line, bool visible)
{
    strikes_[line - kFirstStrike]->setVisible(visible);
}
QString MainWindow::tally(game::Tally which) const
{
    return tallies_[size_t(which)]->text();
}
void MainWindow::setTally(game::Tally which, const QString &text)
{
    tallies_[size_t(which)]->setText(text);
}

bool MainWindow::checkBoard()
{
    return check_.run(*this);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The program ends with its main window: no secondary window, shown or
    // hidden, may outlive it.
    emit closing();
    timer_->stop();
    event->accept();
}
