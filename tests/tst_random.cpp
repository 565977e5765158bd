// Random play through the real windows: cells, buttons, menu commands, keys,
// the result windows' buttons and close boxes, the starter choice, double
// actions queued before either is handled. After every action the rules'
// invariants must hold. A failure names its seed and the actions before it.
//   VELMORA_RANDOM_SEEDS=1,2,3  VELMORA_RANDOM_ACTIONS=25000  (make soak)
#include "rules.h"
#include "support/ui.h"

#include <QAction>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <cstdio>
#include <random>

namespace {

using game::Result;
using game::Tally;

constexpr int kMaxLog = 40; // actions shown with a failure

class Driver
{
public:
    explicit Driver(unsigned seed) : seed_(seed), random_(seed) { restart(); }

    // One action of a player, then the invariants. False once one failed.
    bool step();
    QString failure() const { return failure_; }
    int games() const { return games_; }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool chance(int percent) { return pick(100) < percent; }
    void note(const QString &action);
    void fail(const QString &what);
    void restart();

    void clickCell();
    void doubleClickCell();
    void tick();
    void command();
    void key();

    // Runs `act`, answering each modal window it opens, and returns their names.
    QStringList answeringModals(const std::function<void()> &act);
    void answer(QWidget *modal);
    void leaveResult(QWidget *window);
    void queueDismissal(QWidget *window);

    void checkInvariants(const QString &boardBefore);

    unsigned seed_;
    std::mt19937 random_;
    MainWindow *main_ = nullptr;
    QStringList log_;
    QString failure_;
    std::array<int, 3> expected_{}; // the tallies, counted from results left
    bool cleared_ = false;          // the board may have been emptied by the action
    int unreportedTicks_ = 0;
    int games_ = 0;
};

void Driver::note(const QString &action)
{
    log_ << action;
    if (log_.size() > kMaxLog)
        log_.removeFirst();
}

void Driver::fail(const QString &what)
{
    if (failure_.isEmpty())
        failure_ = QStringLiteral("seed %1: %2\nlast actions:\n  %3").arg(seed_).arg(what, log_.join(u"\n  "));
}

void Driver::restart()
{
    main_ = &ui::freshMain();
    expected_ = {};
    unreportedTicks_ = 0;
    note(QStringLiteral("(fresh start)"));
}

bool Driver::step()
{
    // The offscreen platform leaves no window active when the active one
    // hides; a window manager would give the focus back to the main window.
    if (!QApplication::activeWindow())
        main_->activateWindow();
    const QString before = ui::board(*main_);
    cleared_ = false;
    const int roll = pick(100);
    if (roll < 55)
        clickCell();
    else if (roll < 59)
        doubleClickCell();
    else if (roll < 88)
        tick();
    else if (roll < 96)
        command();
    else
        key();
    if (failure_.isEmpty())
        checkInvariants(before);
    if (failure_.isEmpty() && !main_->isVisible()) // the player left the program
        restart();
    return failure_.isEmpty();
}

void Driver::clickCell()
{
    const int k = 1 + pick(9);
    const QString board = ui::board(*main_), next = main_->nextMark();
    const bool taken = !main_->cell(k).isEmpty();
    note(QStringLiteral("click %1").arg(k));
    ui::click(main_, qPrintable(QStringLiteral("Label%1").arg(k)));
    if (taken && (ui::board(*main_) != board || main_->nextMark() != next))
        fail(QStringLiteral("a click on taken cell %1 changed the game").arg(k));
}

// A double-click: both clicks queued before either is handled.
void Driver::doubleClickCell()
{
    const int k = 1 + pick(9);
    note(QStringLiteral("double-click %1").arg(k));
    QWidget *cell = ui::child(main_, qPrintable(QStringLiteral("Label%1").arg(k)));
    const QPointF at = cell->rect().center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QCoreApplication::postEvent(cell, new QMouseEvent(type, at, cell->mapToGlobal(at), Qt::LeftButton, held, {}));
    }
    QCoreApplication::processEvents();
}

void Driver::tick()
{
    const bool due = game::anyLineComplete(*main_) || game::boardFull(*main_);
    note(QStringLiteral("tick"));
    const QStringList shown = answeringModals([this] { main_->checkBoard(); });
    unreportedTicks_ = due && shown.isEmpty() ? unreportedTicks_ + 1 : 0;
    if (unreportedTicks_ > 2)
        fail(QStringLiteral("a finished game went unreported for %1 ticks").arg(unreportedTicks_));
}

void Driver::command()
{
    static const char *const kItems[] = {"new", "exit", "winerim", "howsfirst", "howplay", "about"};
    static const char *const kButtons[] = {"Command1", "Command2"};
    QString what;
    std::function<void()> act;
    if (chance(25)) {
        const char *name = kButtons[pick(2)];
        what = QStringLiteral("button %1").arg(QLatin1StringView(name));
        act = [this, name] { ui::child<QPushButton>(main_, name)->click(); };
    } else if (chance(3)) {
        what = QStringLiteral("main window's close box");
        act = [this] { main_->close(); };
    } else {
        const char *name = kItems[pick(6)];
        what = QStringLiteral("menu %1").arg(QLatin1StringView(name));
        act = [this, name] { ui::child<QAction>(main_, name)->trigger(); };
    }
    note(what);
    answeringModals(act);
    cleared_ = true; // a new game, or a game finished from a window left open
}

void Driver::key()
{
    static const std::pair<int, Qt::KeyboardModifiers> kKeys[] = {
        {Qt::Key_F2, Qt::NoModifier},        {Qt::Key_X, Qt::ControlModifier}, {Qt::Key_Return, Qt::NoModifier},
        {Qt::Key_Enter, Qt::KeypadModifier}, {Qt::Key_Space, Qt::NoModifier},  {Qt::Key_Tab, Qt::NoModifier},
        {Qt::Key_Escape, Qt::NoModifier}};
    const auto [key, modifiers] = kKeys[pick(std::size(kKeys))];
    note(QStringLiteral("key %1").arg(QKeySequence(key | modifiers).toString()));
    main_->activateWindow();
    answeringModals([&] {
        QWidget *to = main_->focusWidget() ? main_->focusWidget() : main_;
        QTest::keyClick(key == Qt::Key_F2 || key == Qt::Key_X ? main_ : to, Qt::Key(key), modifiers);
    });
    cleared_ = true;
}

QStringList Driver::answeringModals(const std::function<void()> &act)
{
    QStringList shown;
    QList<QPointer<QWidget>> answered;
    QPointer<QWidget> waiting;
    int spins = 0;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        // A player's keys reach the window once it is active.
        if (!modal->isActiveWindow() && !answered.contains(modal)) {
            if (++spins > 1000) {
                fail(QStringLiteral("%1 never became the active window").arg(modal->objectName()));
                modal->hide();
            }
            return;
        }
        if (answered.contains(modal)) {
            // Answered, and still there: a window that would not go.
            if (++spins > 1000) {
                fail(QStringLiteral("%1 stayed open after it was answered").arg(modal->objectName()));
                modal->hide();
            }
            return;
        }
        spins = 0;
        answered << modal;
        shown << modal->objectName();
        answer(modal);
    });
    poll.start();
    act();
    poll.stop();
    QCoreApplication::processEvents(); // input queued by the answers arrives now
    return shown;
}

void Driver::answer(QWidget *modal)
{
    const QString name = modal->objectName();
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        const bool yes = box->windowTitle() == QCoreApplication::applicationName() ? chance(30) : chance(5);
        note(QStringLiteral("  question: %1").arg(yes ? u"yes" : u"no"));
        if (yes && box->windowTitle() == QCoreApplication::applicationName())
            expected_ = {};
        box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
    } else if (name == u"winx" || name == u"wino" || name == u"tako") {
        leaveResult(modal);
    } else if (name == u"first") {
        for (int n = pick(3); n > 0; --n) {
            const int option = 1 + pick(3);
            note(QStringLiteral("  Option%1").arg(option));
            ui::child<QRadioButton>(modal, qPrintable(QStringLiteral("Option%1").arg(option)))->click();
        }
        const bool closeBox = chance(20);
        note(closeBox ? QStringLiteral("  close box") : QStringLiteral("  OK"));
        closeBox ? void(modal->close()) : ui::child<QPushButton>(modal, "Command1")->click();
    } else if (name == u"HowToPlay") {
        note(QStringLiteral("  leave"));
        chance(50) ? void(modal->close()) : ui::child<QPushButton>(modal, "Command1")->click();
    } else if (name == u"frmAbout") {
        const int how = pick(4);
        note(QStringLiteral("  leave by %1").arg(how));
        if (how == 0)
            modal->close();
        else
            QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal,
                            std::array{Qt::Key_Return, Qt::Key_Escape, Qt::Key_Enter}[how - 1]);
    } else {
        fail(QStringLiteral("an unknown modal window %1").arg(name));
        modal->hide();
    }
}

void Driver::leaveResult(QWidget *window)
{
    const QString name = window->objectName();
    // While it is shown, its line (if any) is struck and nothing else has moved.
    const Result result = name == u"winx" ? Result::XWon : name == u"wino" ? Result::OWon : Result::Draw;
    ++expected_[size_t(result == Result::XWon ? Tally::XWins : result == Result::OWon ? Tally::OWins : Tally::Draws)];
    ++games_;
    cleared_ = true;
    if (chance(30)) {
        note(QStringLiteral("  %1: two dismissals queued").arg(name));
        queueDismissal(window);
        queueDismissal(window);
        return;
    }
    note(QStringLiteral("  %1: one dismissal").arg(name));
    queueDismissal(window);
}

void Driver::queueDismissal(QWidget *window)
{
    QWidget *button = ui::child(window, "Command1");
    const QPointF at = button->rect().center();
    switch (pick(3)) {
    case 0:
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(
                button, new QMouseEvent(type, at, button->mapToGlobal(at), Qt::LeftButton,
                                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, {}));
        break;
    case 1:
        QCoreApplication::postEvent(window, new QCloseEvent);
        break;
    default: {
        // A key goes down and up: one held down would act nowhere else.
        const auto [key, modifiers] =
            std::array{std::pair{Qt::Key_Return, Qt::NoModifier}, std::pair{Qt::Key_Enter, Qt::KeypadModifier},
                       std::pair{Qt::Key_Space, Qt::NoModifier}}[pick(3)];
        for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
            QCoreApplication::postEvent(button, new QKeyEvent(type, key, modifiers));
        break;
    }
    }
}

void Driver::checkInvariants(const QString &boardBefore)
{
    if (!main_->isVisible())
        return; // the program ended; the next action starts afresh
    const QStringList tallies = ui::tallies(*main_);
    for (int i = 0; i < 3; ++i) {
        if (tallies[i] != QString::number(expected_[i]))
            fail(QStringLiteral("tallies %1, but the results left make %2, %3, %4")
                     .arg(tallies.join(u','))
                     .arg(expected_[0])
                     .arg(expected_[1])
                     .arg(expected_[2]));
    }
    const QString board = ui::board(*main_);
    if (!cleared_) {
        for (qsizetype i = 0; i < board.size(); ++i) {
            if (boardBefore[i] != u'.' && board[i] != boardBefore[i])
                fail(
                    QStringLiteral("a mark changed without the board being cleared: %1 -> %2").arg(boardBefore, board));
        }
    }
    for (int line = game::Board::kFirstStrike; line <= game::Board::kLastStrike; ++line) {
        if (main_->strikeVisible(line))
            fail(QStringLiteral("Line%1 is struck with no result window open").arg(line));
    }
    if (!game::isMark(main_->nextMark()))
        fail(QStringLiteral("the indicator reads \"%1\"").arg(main_->nextMark()));
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QMap<QString, int> windows;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (!w->objectName().isEmpty() && ++windows[w->objectName()] > 1)
            fail(QStringLiteral("two windows named %1").arg(w->objectName()));
}

QList<unsigned> seeds()
{
    QList<unsigned> seeds;
    for (const QString &s : qEnvironmentVariable("VELMORA_RANDOM_SEEDS", QStringLiteral("1,2,3,4")).split(u','))
        seeds << s.trimmed().toUInt();
    return seeds;
}

} // namespace

class RandomPlayTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        app::configure();
        QApplication::setQuitOnLastWindowClosed(false); // a player leaving ends only the round
    }
    void cleanupTestCase() { ui::reset(); }

    void play_data()
    {
        QTest::addColumn<unsigned>("seed");
        for (unsigned seed : seeds())
            QTest::addRow("seed %u", seed) << seed;
    }

    void play()
    {
        QFETCH(unsigned, seed);
        const int actions = qEnvironmentVariableIntValue("VELMORA_RANDOM_ACTIONS") > 0
                                ? qEnvironmentVariableIntValue("VELMORA_RANDOM_ACTIONS")
                                : 2500;
        Driver driver(seed);
        for (int i = 0; i < actions; ++i)
            QVERIFY2(driver.step(), qPrintable(driver.failure()));
        // Past QTest's message limit too: the soak's figures.
        std::fprintf(stderr, "seed %u: %d actions, %d games finished\n", seed, actions, driver.games());
    }
};

QTEST_MAIN(RandomPlayTest)
#include "tst_random.moc"
