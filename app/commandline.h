#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The command line. Our own options are --help and --version; Qt's standard
// ones (-platform, -style, -display ...) are Qt's to take; anything else is
// refused.
namespace app {

// What the command line asks for instead of a game, read before Qt opens a
// display so that none is needed: the usage or the version (status 0, to
// standard output), or a refusal of what is neither ours nor Qt's (status 2,
// one line with the argument quoted, to standard error).
struct Answer
{
    QString text;
    int status;
};
std::optional<Answer> answerWithoutDisplay(const QStringList &arguments);

// The one line to end with when Qt could reach no display, in the user's
// terms, made from what Qt said while it tried.
QString displayProblem(const QStringList &qtMessages);

} // namespace app
