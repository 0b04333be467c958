#include "view/ui/TfrmViewSingle.h"

namespace kemptor {

TfrmViewSingle::TfrmViewSingle(Prompter& prompter, QWidget* parent)
    : TfrmViewSingleMDI(prompter, parent, Qt::Window) {
    setObjectName("frmViewSingle");
    SetCaption("View Single");
}

} // namespace kemptor
