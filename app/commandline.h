#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The command line. Our own options are --help and --version; Qt's standard
// ones (-platform, -style, -display ...) are Qt's to take; anything else is
// refused.
namespace app {

// Read before Qt starts a display, so that they need none: the usage or the
// version to print, or nothing when the game is to be played.
std::optional<QString> answerWithoutDisplay(const QStringList &arguments);

// Read once Qt has taken its own options: what is left must be ours. The
// refusal, one line with the argument quoted, or nothing.
std::optional<QString> refusal(const QStringList &arguments);

// The one line to end with when Qt could reach no display, in the user's
// terms, made from what Qt said while it tried.
QString displayProblem(const QStringList &qtMessages);

} // namespace app
