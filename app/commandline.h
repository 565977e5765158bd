#pragma once

#include <string>

// The command line, read before any window or display is touched, so that
// --help and --version work with no display at all.
namespace app {

struct Invocation
{
    enum class Action { Play, Help, Version, Error } action = Action::Play;
    std::string text; // what to print: the usage, the version, or the error
};

// Our own options are --help and --version; Qt's standard ones (-platform,
// -style, -display ...) pass through to Qt. Anything else is an error.
Invocation readCommandLine(int argc, const char *const *argv);

// One line in the user's terms when the display the program would open cannot
// be opened (X11 only); empty when it can, or when another platform decides.
std::string displayProblem(int argc, const char *const *argv);

} // namespace app
