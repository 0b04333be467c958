#pragma once
// Connects the form structure window to the main window: "Build Form Tree" opens a TfrmFormTree for
// the selected form in the client area.

namespace kemptor {

class DebugOutput;
class TfrmMain;

// `debug` receives the windows' diagnostic lines while it is switched on (may be null).
void WireFormTree(TfrmMain& main, DebugOutput* debug);

} // namespace kemptor
