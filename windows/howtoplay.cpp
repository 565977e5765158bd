#include "howtoplay.h"

#include <QPushButton>

using namespace controls;

namespace {

// The tables keep their rows as laid out.
// clang-format off
constexpr Colour kLightRed = rgb(255, 128, 128);

constexpr windows::WindowProperties kWindow{
    .name = "HowToPlay",
    .caption = "?איך משחקים",
    .clientWidth = 4530,
    .clientHeight = 3780,
    .back = kLightRed,
};

constexpr Control kControls[] = {
    {.name = "Command1", .kind = Kind::Button, .at = {1680, 3000, 1215, 495}, .caption = "חזרה",
     .font = {"David", 18, 350}, .tab = 1},
    {.name = "Label1", .kind = Kind::Label, .at = {360, 120, 3855, 2775},
     .caption = "מה אתם לא יודעים איך משחקים Velmora", .font = {"David", 36, 350}, .back = kLightRed,
     .align = Align::Centre},
};

// clang-format on
} // namespace

HowToPlayWindow::HowToPlayWindow() : SecondaryWindow(kWindow, kControls)
{
    connect(controls().get<QPushButton>(u"Command1"), &QPushButton::clicked, this, &HowToPlayWindow::leave);
}
