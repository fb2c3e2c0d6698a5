#pragma once

#include <QIcon>
#include <QImage>

// The pictures of the main window, drawn from the layout constants (Layout.h) rather than kept as
// image files, so that they always match where the cells and the two text lines are placed.

// The background picture: header, button strip, both grids with their hand numbers and the big
// digits 1..4, the advice and status strips and the two bottom bands. kClientWidth x kClientHeight.
QImage DrawBackground();

// Image of a result button (SIDE_BANKER, SIDE_PLAYER or SIDE_TIE): its glyph in the side's colour
// on a light ground, kButtonImageSize.
QImage DrawButtonImage(int side);

// The application icon at `size` x `size` pixels: a corner of the result grid with two hands
// entered, painted by the same code as the cells.
QImage DrawIcon(int size);

// Colour of the grid lines in the background picture.
QColor GridLineColour();

// The icon at the sizes a window manager asks for (32 and 48 pixels).
QIcon AppIcon();
