#pragma once
// The main window's commentor command (tool button, Project menu, context menu): opens a commentor
// window in the client area for the selected file, with the output directory of the settings in force.

namespace kemptor {

class Prompter;
class TfrmMain;

void WireCommentor(TfrmMain& window, Prompter& prompter);

} // namespace kemptor
