#include "registry.h"

#include "aboutwindow.h"
#include "firstwindow.h"
#include "howtoplay.h"
#include "mainwindow.h"
#include "resultwindow.h"

#include <QPointer>
#include <array>

namespace windows {

namespace {

constexpr int kWindows = int(Id::Velmora) + 1;

std::array<QPointer<QWidget>, kWindows> &instances()
{
    static std::array<QPointer<QWidget>, kWindows> all;
    return all;
}

QWidget *create(Id id)
{
    switch (id) {
    case Id::First:
        return new FirstWindow;
    case Id::FrmAbout:
        return new AboutWindow;
    case Id::HowToPlay:
        return new HowToPlayWindow;
    case Id::Tako:
        return new ResultWindow(game::Result::Draw);
    case Id::Wino:
        return new ResultWindow(game::Result::OWon);
    case Id::Winx:
        return new ResultWindow(game::Result::XWon);
    case Id::Velmora:
        return new MainWindow;
    }
    return nullptr;
}

template <class W>
W &instance(Id id)
{
    QPointer<QWidget> &slot = instances()[size_t(id)];
    if (!slot)
        slot = create(id);
    return *static_cast<W *>(slot.data());
}

} // namespace

MainWindow &velmora() { return instance<MainWindow>(Id::Velmora); }
FirstWindow &first() { return instance<FirstWindow>(Id::First); }
HowToPlayWindow &howToPlay() { return instance<HowToPlayWindow>(Id::HowToPlay); }
AboutWindow &about() { return instance<AboutWindow>(Id::FrmAbout); }
ResultWindow &result(game::Result result) { return instance<ResultWindow>(resultId(result)); }

Id resultId(game::Result result)
{
    switch (result) {
    case game::Result::XWon:
        return Id::Winx;
    case game::Result::OWon:
        return Id::Wino;
    case game::Result::Draw:
        break;
    }
    return Id::Tako;
}

QWidget *existing(Id id)
{
    return instances()[size_t(id)].data();
}

void unload(Id id)
{
    QPointer<QWidget> &slot = instances()[size_t(id)];
    if (QWidget *window = slot.data()) {
        slot.clear();
        window->hide(); // ends a modal show waiting on it
        window->deleteLater();
    }
}

void unloadSecondary()
{
    for (int id = 0; id < int(Id::Velmora); ++id)
        unload(Id(id));
}

} // namespace windows
