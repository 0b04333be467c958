#pragma once
// Makes the debug output window for the main window: a top-level window owned by it, hidden and
// switched off at start, which the form tree and other windows write their diagnostic lines to. While it
// is switched on, the Window menu lists it.

namespace kemptor {

class DebugOutput;
class Prompter;
class TfrmMain;

DebugOutput* WireDebugOutput(TfrmMain& main, Prompter& prompter);

} // namespace kemptor
