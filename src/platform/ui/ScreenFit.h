#pragma once
// Keeps the program's top-level windows on the screen they open on: none runs past an edge, its frame
// (title bar and borders, which the window manager adds) included.

#include <Qt>

class QWidget;

namespace kemptor {

// Shrinks `window` (a top-level window) to the available area of the screen it opens on (that of `near`,
// else its own, else the primary screen) and moves it inside. A window that was placed already keeps its
// place as far as it fits; one that was not is put at the `where` side of `near` (centred by default),
// inside `near`'s frame, or in the middle of the screen without `near`.
void FitOnScreen(QWidget& window, const QWidget* near = nullptr, Qt::Alignment where = Qt::AlignCenter);

} // namespace kemptor
