#include "resultwindow.h"

#include <QPushButton>
#include <array>

using namespace controls;

namespace {

// The tables keep their rows as laid out.
// clang-format off
constexpr const char *kBack = "חזרה למשחק";
constexpr Font kSans = {"MS Sans Serif", 24, 400};
constexpr Font kHuge = {"David", 200.25, 350};
constexpr Font kDavid36 = {"David", 36, 350};

constexpr Control mark(const char *caption, int index, int left, int top, int width)
{
    return {.name = "Label1", .kind = Kind::Label, .at = {left, top, width, 615}, .caption = caption,
            .font = kSans, .index = index, .decorative = true};
}

constexpr Control winxControls[] = {
    {.name = "Command1", .kind = Kind::Button, .at = {1800, 2040, 1215, 1095}, .caption = kBack,
     .font = {"MS Sans Serif", 13.5, 400}, .tab = 0},
    mark("x", 11, 1560, 720, 375),
    mark("x", 10, 240, 1440, 375),
    mark("x", 9, 3720, 1320, 375),
    mark("x", 8, 360, 2160, 375),
    mark("x", 7, 1200, 2280, 375),
    mark("x", 6, 3000, 720, 375),
    mark("x", 5, 3120, 2520, 375),
    mark("x", 4, 240, 600, 375),
    mark("x", 3, 3960, 240, 375),
    mark("x", 2, 3960, 2160, 375),
    mark("x", 1, 960, 1200, 375),
    mark("x", 0, 960, 0, 375),
    {.name = "Label2", .kind = Kind::Label, .at = {1440, -960, 2010, 3930}, .caption = "x", .font = kHuge,
     .decorative = true},
};

constexpr Control winoControls[] = {
    {.name = "Command1", .kind = Kind::Button, .at = {1920, 1200, 1455, 1095}, .caption = kBack,
     .font = {"MS Sans Serif", 13.5, 400}, .tab = 0},
    mark("O", 12, 1200, 120, 495),
    mark("O", 11, 4440, 2040, 495),
    mark("O", 10, 240, 2760, 495),
    mark("O", 9, 4080, 1440, 495),
    mark("O", 8, 240, 1560, 495),
    mark("O", 7, 2400, 600, 495),
    mark("O", 6, 600, 2040, 495),
    mark("O", 5, 1080, 2640, 495),
    mark("O", 4, 600, 360, 495),
    mark("O", 2, 3960, 2640, 495),
    mark("O", 1, 2400, 2280, 495),
    mark("O", 0, 4440, 480, 495),
    mark("O", 3, 3600, 120, 495),
    {.name = "Label2", .kind = Kind::Label, .at = {1200, 120, 2895, 3930}, .caption = "O", .font = kHuge,
     .decorative = true},
};

constexpr Control small(const char *name, const char *caption, int left, int top)
{
    return {.name = name, .kind = Kind::Label, .at = {left, top, 525, 705}, .caption = caption, .font = kDavid36,
            .decorative = true};
}

constexpr const char *kNobodyWon = "אף אחד לא ניצח";

constexpr Control takoControls[] = {
    {.name = "Command1", .kind = Kind::Button, .at = {1800, 2640, 1215, 495}, .caption = kBack, .tab = 0},
    {.name = "Label10", .kind = Kind::Label, .at = {360, 2520, 1215, 645}, .caption = kNobodyWon,
     .font = {"David", 18, 350}, .align = Align::Right},
    small("Label9", "O", 2880, 2040),
    small("Label8", "O", 4080, 120),
    small("Label7", "O", 360, 1440),
    small("Label6", "O", 1680, 120),
    small("Label5", "X", 1920, 1800),
    small("Label4", "X", 3960, 1560),
    small("Label3", "X", 360, 120),
    small("Label2", "X", 3000, 360),
    {.name = "Label1", .kind = Kind::Label, .at = {3360, 2400, 1215, 645}, .caption = kNobodyWon,
     .font = {"David", 18, 350}, .align = Align::Right},
    {.name = "Label11", .kind = Kind::Label, .at = {960, 720, 2550, 1425}, .caption = "תיקו",
     .font = {"David", 72, 350}},
};

struct Description
{
    windows::WindowProperties window;
    std::span<const Control> controls;
};

const Description &describe(game::Result result)
{
    // Indexed by game::Result: X won, O won, draw.
    static const std::array<Description, 3> descriptions{{
        {{.name = "winx", .caption = "האיקס ניצח", .clientWidth = 4680, .clientHeight = 3195,
          .back = rgb(255, 128, 128), .placement = windows::Placement::TopLeftCorner},
         winxControls},
        {{.name = "wino", .caption = "העיגול ניצח", .clientWidth = 5040, .clientHeight = 3465,
          .back = rgb(0, 255, 0), .placement = windows::Placement::TopLeftCorner},
         winoControls},
        {{.name = "tako", .caption = "תיקו", .clientWidth = 4680, .clientHeight = 3195, .back = rgb(255, 0, 0)},
         takoControls},
    }};
    return descriptions[size_t(result)];
}

// clang-format on
} // namespace

ResultWindow::ResultWindow(game::Result result) : SecondaryWindow(describe(result).window, describe(result).controls)
{
    auto *back = controls().get<QPushButton>(u"Command1");
    connect(back, &QPushButton::clicked, this, &ResultWindow::leave);
    // The button holds the focus, and a braille display shows the focused
    // control: the result goes with it, or the display would scroll it away.
    back->setAccessibleName(windowTitle() + QStringLiteral(", ") + QString::fromUtf8(kBack));
}
