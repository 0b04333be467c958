#include "view/ui/TfrmViewSingle.h"

#include "platform/ui/Help.h"

namespace kemptor {

TfrmViewSingle::TfrmViewSingle(Prompter& prompter, QWidget* parent)
    : TfrmViewSingleMDI(prompter, parent, Qt::Window) {
    setObjectName("frmViewSingle");
    SetCaption("View Single");
    InstallHelpKey(this); // a window of its own: F1 opens the view windows' topic
}

} // namespace kemptor
