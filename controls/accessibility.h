#pragma once

#include <QString>

class CaptionLabel;
class QWidget;

// What a screen reader is told beyond what Qt says by itself. Names stay the
// captions, exactly, as Qt gives them.
namespace controls {

// Installs the interfaces below for the whole program.
void installAccessibility();

// A board cell: a button whose press places the next mark (refused as a click
// is) and takes the focus, as the keys do. Its accessible name is its window's
// to set.
void makeBoardCell(CaptionLabel *cell);

// A control drawn for looks only (lines, the marks around a result): hidden
// from screen readers, which would read every one of them.
void hideFromReaders(QWidget *control);

// A notification that readers speak each time it is shown, wherever the focus
// is (see Notice).
void readAsNotice(QWidget *notice);

// A window that readers meet as a dialog, whose decorative controls they skip.
void readAsDialog(QWidget *window);

// Readers are given the caption (or a window's title) in reading order where
// that is not the order it is stored in (see readingOrder): what is drawn
// stays as stored.
void nameInReadingOrder(QWidget *control, const QString &caption);

} // namespace controls
