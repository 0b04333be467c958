#include "app/ui/DebugOutputWiring.h"

#include "app/ui/TfrmMain.h"
#include "print/ui/TfrmDebug.h"

namespace kemptor {

DebugOutput* WireDebugOutput(TfrmMain& main, Prompter& prompter) {
    auto* debug = new TfrmDebug(prompter, &main);
    debug->DebugOff();
    return debug;
}

} // namespace kemptor
