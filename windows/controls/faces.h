#pragma once

#include <QFont>
#include <QString>

// The faces the windows were designed with, "David" and "MS Sans Serif", are
// not on a Linux desktop; Culmus faces from Debian stand in for them. Which
// one depends on the size as well as the face: each is the face that keeps
// every caption of that size whole inside its box, at every screen scale,
// and reads best there.
namespace controls {

QString standIn(const QString &face, double points);

// The font of a control that names none: the designed windows' dialog font,
// the same on every desktop, so that such captions fit their boxes too.
QFont windowFont();

} // namespace controls
