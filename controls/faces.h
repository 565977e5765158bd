#pragma once

#include <QFont>

class QWidget;
#include <QString>

// The faces the windows were designed with, "David" and "MS Sans Serif", are
// not on a Linux desktop; Culmus faces from Debian stand in for them. Which
// one depends on the size as well as the face: each is the face that keeps
// every caption of that size whole inside its box, at every screen scale,
// and reads best there.
namespace controls {

QString standIn(const QString &face, double points);

// Where the system has the designed faces themselves (Windows), each is used
// wherever it holds Hebrew letters, in place of its stand-in. Called before
// any window is built.
void preferDesignedFaces();

// Whether a stand-in holds every letter the windows draw in it, Hebrew and
// Latin: text in it then needs no other face merged in, which would cost a
// font engine per script drawn (a tenth of start-up). Miriam CLM has no Latin
// letters; the desktop's faces supply them.
bool holdsEveryLetter(const QString &family);

// The font of a control that names none: the designed windows' dialog font,
// the same on every desktop, so that such captions fit their boxes too.
QFont windowFont();

// Draws the captions of a shown window once, out of sight: the font engines
// and glyphs of its first frame are then ready, made while the window
// manager frames the window rather than after.
void drawCaptionsAhead(QWidget *window);

} // namespace controls
