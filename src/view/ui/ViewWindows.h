#pragma once
// The openers through which the main window shows files: each creates a view window as a child of the
// MDI area, loads the file(s), sets the caption and shows it. The window stays open (empty) when a file
// cannot be read; the prompter has said why.

#include <QString>

class QMdiArea;
class QWidget;

namespace kemptor {

class Prompter;

// Shows `window` in the client area at `widthShare` of its width and most of its height, a step below and
// to the right of the last window (as cascaded windows stand); the window is freed when closed. Without
// an area the window is shown on its own.
QWidget* ShowInClientArea(QMdiArea* area, QWidget* window, double widthShare);

// Window > Cascade: every visible child at most of the client area's size, each a title bar's height
// below and to the right of the one before, starting again at the top-left when the area runs out.
void CascadeSubWindows(QMdiArea* area);

// One file: a source file ("File: " + path) or the project file ("Project File: " + name).
QWidget* OpenSingleView(QMdiArea* area, Prompter& prompter, const QString& caption, const QString& path);
// A processed file beside its output copy, with the Diff command.
QWidget* OpenDualView(QMdiArea* area, Prompter& prompter, const QString& caption, const QString& beforePath,
                      const QString& afterPath);

} // namespace kemptor
