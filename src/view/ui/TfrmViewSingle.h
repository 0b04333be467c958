#pragma once
// TfrmViewSingle: the stand-alone single view made at program start; it behaves as TfrmViewSingleMDI but
// is a top-level window that is only hidden when closed.

#include "view/ui/TfrmViewSingleMDI.h"

namespace kemptor {

class TfrmViewSingle : public TfrmViewSingleMDI {
    Q_OBJECT
public:
    explicit TfrmViewSingle(Prompter& prompter, QWidget* parent = nullptr);
};

} // namespace kemptor
