#pragma once
// The help file: an HTML document shipped inside the program whose topics are anchors named after their
// help context numbers ("context-11"). F1 in a window opens the topic of the focused widget, found by
// walking up from it to the first widget that carries a help context.

#include <QString>

class QWidget;

namespace kemptor {

// Registers the program's built-in resources (help file, background bitmap); safe to call repeatedly.
void EnsureResources();

// The help file's resource path (":/help/VBKEMPT3.html").
QString HelpFilePath();

// Gives a widget (a window, a page, a tab) its help context.
void SetHelpContext(QWidget* widget, int context);

// The context of the widget or of its nearest ancestor that has one; 0 (contents) when none has.
int HelpContextOf(const QWidget* widget);

// Opens the help window at a context's topic and raises it; 0 shows the contents.
void ShowHelp(int context);

// The context the help window shows now; -1 before it was ever opened.
int ShownHelpContext();

// Makes F1 anywhere inside `window` open the topic of the focused widget.
void InstallHelpKey(QWidget* window);

} // namespace kemptor
