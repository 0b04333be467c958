#include "app/ui/DebugOutputWiring.h"

#include "app/ui/TfrmMain.h"
#include "print/ui/TfrmDebug.h"

#include <QAction>
#include <QMenu>

namespace kemptor {

DebugOutput* WireDebugOutput(TfrmMain& main, Prompter& prompter) {
    auto* debug = new TfrmDebug(prompter, &main);
    debug->DebugOff();
    // A window of its own can fall behind the main window: while the log is on, the Window menu brings
    // it back to the front.
    main.AddToWindowMenu = [debug](QMenu& menu) {
        if (!debug->DebugActive())
            return;
        menu.addSeparator();
        QAction* action = menu.addAction("&Debug Output", debug, &TfrmDebug::ShowInFront);
        action->setObjectName("mnuWindowDebugOutput");
        action->setStatusTip("Bring the debug output window to the front");
    };
    return debug;
}

} // namespace kemptor
