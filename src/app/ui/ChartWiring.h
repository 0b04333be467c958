#pragma once
// Connects the chart selector and the chart windows to the main window's chart command.

namespace kemptor {

class Prompter;
class TfrmMain;

// The selector is made with the main window (hidden until the chart command shows it); each chart it
// builds opens in a new window in the main window's client area.
void WireChartWindows(TfrmMain& main, Prompter& prompter);

} // namespace kemptor
