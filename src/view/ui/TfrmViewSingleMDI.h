#pragma once
// TfrmViewSingleMDI: one file (a source file or the project file) as a child of the main window.

#include "view/ui/TViewWindow.h"

#include <string>

class QMenu;

namespace kemptor {

class TfrmViewSingleMDI : public TViewWindow {
    Q_OBJECT
public:
    explicit TfrmViewSingleMDI(Prompter& prompter, QWidget* parent = nullptr);

    TBigText* memoSource;
    QMenu* mnuPopup;

    // Loads the file and sets the caption; a file that cannot be read is reported, false then.
    bool Open(const std::string& path, const QString& caption);

protected:
    TfrmViewSingleMDI(Prompter& prompter, QWidget* parent, Qt::WindowFlags flags);
    TBigText* SearchViewer() const override { return memoSource; }
};

} // namespace kemptor
