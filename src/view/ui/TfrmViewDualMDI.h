#pragma once
// TfrmViewDualMDI: a processed file (left) beside its output copy (right), as a child of the main window.
// Its Diff command replaces both texts with their aligned, coloured comparison.

#include "view/ui/TViewDualBase.h"

#include <string>

namespace kemptor {

class TfrmStaticProcessing;

class TfrmViewDualMDI : public TViewDualBase {
    Q_OBJECT
public:
    explicit TfrmViewDualMDI(Prompter& prompter, QWidget* parent = nullptr);

    std::string BeforeFile;
    std::string AfterFile;

    // Loads both files and titles the window "File: " + the source path. A file that cannot be read is
    // reported through the prompter; false then.
    bool Open(const std::string& beforeFile, const std::string& afterFile);
    // Compares the two files as they are on disk and shows the comparison in both viewers.
    void Diff();

private:
    TfrmStaticProcessing* frmStaticProcessing_;
};

} // namespace kemptor
