#include "run/ui/TfrmCopyFiles.h"

namespace kemptor {

TfrmCopyFiles::TfrmCopyFiles(QWidget* parent) : TfrmProgressWindow("Backing up files...", parent) {
    setObjectName("frmCopyFiles");
}

} // namespace kemptor
