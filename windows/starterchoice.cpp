#include "starterchoice.h"

#include "accessibility.h"
#include "ltrtext.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>

using namespace controls;

namespace {

// The tables keep their rows as laid out.
// clang-format off
constexpr windows::WindowProperties kWindow{
    .name = "first",
    .caption = "?מי ראשון",
    .clientWidth = 5940,
    .clientHeight = 3480,
};

constexpr Control kControls[] = {
    {.name = "Command1", .kind = Kind::Button, .at = {240, 1680, 1215, 975}, .caption = "אישור",
     .font = {"David", 15.75, 700}, .tab = 4},
    {.name = "Option3", .kind = Kind::Option, .at = {2160, 2760, 3495, 495},
     .caption = "מי שניצח במשחק האחרון הוא זה שיתחיל", .tab = 3},
    {.name = "Option2", .kind = Kind::Option, .at = {1920, 2160, 3735, 495},
     .caption = "O-שחקן מספר שנים תמיד הראשון  - כלומר ה ", .tab = 2},
    {.name = "Option1", .kind = Kind::Option, .at = {1920, 1560, 3735, 495},
     .caption = " X-שחקן מספר אחד תמיד הראשון  - כלומר ה ", .tab = 1, .checked = true},
    {.name = "Label1", .kind = Kind::Label, .at = {1080, 360, 4695, 735},
     .caption = "אז תגידו לי מי אתם רוצים ?שיהיה הראשון", .font = {"David", 20.25, 350}, .fore = rgb(255, 0, 0),
     .align = Align::Right},
};

// clang-format on
} // namespace

StarterChoiceWindow::StarterChoiceWindow() : SecondaryWindow(kWindow, kControls)
{
    connect(option(2), &QRadioButton::toggled, this, [this](bool selected) {
        if (selected)
            emit oOpensChosen();
    });
    connect(controls().get<QPushButton>(u"Command1"), &QPushButton::clicked, this, &QWidget::hide);
    for (int n = 1; n <= 3; ++n) {
        option(n)->installEventFilter(this);
        connect(option(n), &QRadioButton::toggled, this, &StarterChoiceWindow::describeChoice);
    }
    describeChoice();
}

void StarterChoiceWindow::describeChoice()
{
    // Reopened, the window has the focus on its button: readers say the
    // choice with it.
    for (int n = 1; n <= 3; ++n) {
        if (option(n)->isChecked())
            controls()
                .get(u"Command1")
                ->setAccessibleDescription(QStringLiteral("כרגע נבחר ") + controls::readingOrder(option(n)->text()));
    }
}

bool StarterChoiceWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Enter on an option, or Space on the one chosen already, changes nothing:
    // readers are told so rather than left in silence.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        auto *button = qobject_cast<QRadioButton *>(watched);
        if (button && (key == Qt::Key_Return || key == Qt::Key_Enter || (key == Qt::Key_Space && button->isChecked())))
            say(QStringLiteral("הבחירה לא השתנתה"));
    }
    return SecondaryWindow::eventFilter(watched, event);
}

QRadioButton *StarterChoiceWindow::option(int n) const
{
    return controls().get<QRadioButton>(QStringLiteral("Option%1").arg(n));
}

game::Rule StarterChoiceWindow::rule() const
{
    if (option(2)->isChecked())
        return game::Rule::OOpens;
    if (option(3)->isChecked())
        return game::Rule::WinnerOpens;
    return game::Rule::XOpens;
}
