// Arranging the log windows of the MDI area (the Window menu's commands beyond cascading).
#pragma once

class QMdiArea;

namespace kestrano {

// Windows as wide as the area, one above the other.
void tileHorizontally(QMdiArea& area);
// Windows as tall as the area, side by side.
void tileVertically(QMdiArea& area);
// Minimised windows in a row along the bottom edge.
void arrangeIcons(QMdiArea& area);

} // namespace kestrano
