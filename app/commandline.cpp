#include "commandline.h"

#include <array>
#include <cstdlib>
#include <string_view>

#ifdef VELMORA_X11
#include <xcb/xcb.h>
#endif

namespace app {

namespace {

using namespace std::string_view_literals;

// Qt's own options, without their leading dash; the first ones take a value.
constexpr std::array kQtOptionsWithValue{
    "platform"sv, "platformpluginpath"sv, "platformtheme"sv, "plugin"sv, "qwindowgeometry"sv,
    "qwindowicon"sv, "qwindowtitle"sv, "session"sv, "style"sv, "stylesheet"sv, "display"sv,
    "geometry"sv, "title"sv, "name"sv, "visual"sv, "cmap"sv, "dialogs"sv, "qmljsdebugger"sv};
constexpr std::array kQtFlags{"reverse"sv, "widgetcount"sv, "nograb"sv, "dograb"sv, "sync"sv, "testability"sv};

template <class List>
bool contains(const List &list, std::string_view word)
{
    for (std::string_view w : list)
        if (w == word)
            return true;
    return false;
}

// "-style", "--style" and "-style=fusion" alike: the bare name, and whether a value came with it.
std::string_view qtOptionName(std::string_view arg, bool &valueAttached)
{
    arg.remove_prefix(arg.starts_with("--") ? 2 : 1);
    const size_t equals = arg.find('=');
    valueAttached = equals != std::string_view::npos;
    return arg.substr(0, equals);
}

// The value of a Qt option, or empty.
std::string_view qtOptionValue(int argc, const char *const *argv, std::string_view name)
{
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (!arg.starts_with('-'))
            continue;
        bool attached = false;
        if (qtOptionName(arg, attached) != name)
            continue;
        if (attached)
            return arg.substr(arg.find('=') + 1);
        return i + 1 < argc ? argv[i + 1] : ""sv;
    }
    return {};
}

constexpr char kUsage[] = "Usage: velmora [--help | --version]\n"
                          "Noughts and crosses for two players at one mouse.\n"
                          "\n"
                          "  -h, --help     print this help and exit\n"
                          "  -v, --version  print the version and exit\n"
                          "\n"
                          "Qt's standard options (-platform, -style, -display ...) are accepted too.\n";

} // namespace

Invocation readCommandLine(int argc, const char *const *argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-h" || arg == "--help")
            return {Invocation::Action::Help, kUsage};
        if (arg == "-v" || arg == "--version")
            return {Invocation::Action::Version, "velmora " VELMORA_VERSION "\n"};
        bool attached = false;
        if (arg.size() > 1 && arg.starts_with('-')) {
            const std::string_view name = qtOptionName(arg, attached);
            if (contains(kQtFlags, name))
                continue;
            if (contains(kQtOptionsWithValue, name)) {
                if (!attached)
                    ++i; // its value
                continue;
            }
            return {Invocation::Action::Error, "velmora: unknown option '" + std::string(arg) + "'\n"
                                                   "Try 'velmora --help' for the options.\n"};
        }
        return {Invocation::Action::Error, "velmora: unexpected argument '" + std::string(arg) + "'\n"
                                               "Try 'velmora --help' for the options.\n"};
    }
    return {};
}

std::string displayProblem(int argc, const char *const *argv)
{
    std::string_view platform = qtOptionValue(argc, argv, "platform");
    if (platform.empty() && std::getenv("QT_QPA_PLATFORM"))
        platform = std::getenv("QT_QPA_PLATFORM");
    platform = platform.substr(0, platform.find_first_of(";:"));
    const char *wayland = std::getenv("WAYLAND_DISPLAY");
    const bool x11 = platform == "xcb" || (platform.empty() && !(wayland && *wayland));
    if (!x11)
        return {};
    std::string display(qtOptionValue(argc, argv, "display"));
    if (display.empty() && std::getenv("DISPLAY"))
        display = std::getenv("DISPLAY");
    if (display.empty())
        return "velmora: cannot open a display: DISPLAY is not set\n";
#ifdef VELMORA_X11
    xcb_connection_t *connection = xcb_connect(display.c_str(), nullptr);
    const bool failed = xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (failed)
        return "velmora: cannot open the display \"" + display + "\"\n";
#endif
    return {};
}

} // namespace app
