#include "aboutwindow.h"

#include "windowmanager.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVersionNumber>

using namespace controls;

namespace {

// The tables keep their rows as laid out.
// clang-format off
constexpr Colour kOrange = rgb(255, 128, 0);
constexpr Colour kWhite = rgb(255, 255, 255);
constexpr Colour kBlack = rgb(0, 0, 0);
constexpr Font kDavid12 = {"David", 12, 350};

constexpr windows::WindowProperties kWindow{
    .name = "frmAbout",
    .caption = "אודות Velmora",
    .clientWidth = 6705,
    .clientHeight = 4860,
    .back = kBlack,
    .placement = windows::Placement::Fixed,
    .left = 2340,
    .top = 1935,
    .taskbar = false,
};

// Every text is a stop of the Tab key, in reading order, so that a screen
// reader reaches each: one of fewer than three words is not read with the
// window.
constexpr Control onBand(const char *name, const char *caption, int left, int top, int width, int tab)
{
    return {.name = name, .kind = Kind::Label, .at = {left, top, width, 240}, .caption = caption, .font = kDavid12,
            .back = kOrange, .fore = kBlack, .tab = tab};
}

constexpr Control onBlack(const char *name, const char *caption, int left, int top, int width, int height, int tab)
{
    return {.name = name, .kind = Kind::Label, .at = {left, top, width, height}, .caption = caption,
            .back = kBlack, .fore = kWhite, .align = Align::Right, .tab = tab};
}

// Front to back.
constexpr Control kControls[] = {
    {.name = "cmdOK", .kind = Kind::Button, .at = {600, 4080, 1260, 465}, .caption = "אישור", .tab = 0},
    {.name = "Picture1", .kind = Kind::Picture, .at = {0, 0, 2775, 2775}, .caption = ":/velmora/about.png",
     .tab = 9},
    onBand("Label3", "www.example.org", 600, 3600, 2400, 6),
    onBand("Label2", "velmora@example.org :דוא\"ל", 1800, 3240, 3165, 5),
    {.name = "Line2", .kind = Kind::Line, .at = {840, 2760, 6600, 2760}},
    onBand("Label1", "נכתב בידי צוות הבית", 4080, 2880, 2280, 4),
    {.name = "Line1", .kind = Kind::Line, .at = {0, 3840, 6720, 3840}, .fore = rgb(128, 128, 128), .index = 1},
    onBlack("lblDescription",
            "תאור התוכנה : תוכנה זו היא תוכנה פשוטה.  פשוט Velmora. ומי לא מכיר את  המשחק האגדי הזה. אז תהנו... "
            "ולהתראות",
            2760, 1920, 3885, 570, 3),
    onBlack("lblTitle", "תוכנת ה Velmora", 2760, 480, 3885, 480, 1),
    {.name = "Line1", .kind = Kind::Line, .at = {0, 2760, 6720, 2760}, .fore = kWhite, .lineWidth = 2,
     .index = 0},
    onBlack("lblVersion", "גירסה  :  1.2.0 ", 2640, 1320, 3885, 225, 2),
    onBlack("lblDisclaimer",
            // The licence, in short; no trailing stop, which a left-to-right line would
            // draw at the sentence's start.
            "תוכנה חופשית לפי הרישיון הציבורי הכללי של גנו, גרסה 3 או מאוחרת יותר. מותר להעתיק, להפיץ "
            "ולשנות אותה, ללא כל אחריות", 2400, 4080,
            3870, 825, 7),
    {.name = "Label4", .kind = Kind::Label, .at = {0, 2760, 6735, 1095}, .back = kOrange},
};

// clang-format on
} // namespace

AboutWindow::AboutWindow() : SecondaryWindow(kWindow, kControls)
{
    platform::showNoTitleBarIcon(this); // a dialog's frame
    auto *ok = controls().get<QPushButton>(u"cmdOK");
    ok->setDefault(true);
    // Both the default and the cancel button of the window.
    for (const QKeySequence &key :
         {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter), QKeySequence(Qt::Key_Escape)})
        connect(new QShortcut(key, this), &QShortcut::activated, ok, &QPushButton::click);
    connect(ok, &QPushButton::clicked, this, &AboutWindow::leave);
    controls().get(u"Picture1")->setAccessibleName(QString::fromUtf8("לוח איקס עיגול שאיקס ניצח בו"));
    load();
}

void AboutWindow::load()
{
    const QString title = QCoreApplication::applicationName();
    const QVersionNumber version = QVersionNumber::fromString(QCoreApplication::applicationVersion());
    setWindowTitle(QStringLiteral("About ") + title);
    controls()
        .get<QLabel>(u"lblVersion")
        ->setText(QStringLiteral("Version %1.%2.%3")
                      .arg(version.majorVersion())
                      .arg(version.minorVersion())
                      .arg(version.microVersion()));
    controls().get<QLabel>(u"lblTitle")->setText(title);
}
