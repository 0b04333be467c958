#include "view/ui/ViewWindows.h"

#include "view/ui/TfrmViewDualMDI.h"
#include "view/ui/TfrmViewSingleMDI.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace kemptor {

namespace {

QWidget* ShowInArea(QMdiArea* area, QWidget* window) {
    if (area == nullptr) {
        window->show();
        return window;
    }
    QMdiSubWindow* sub = area->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->show();
    return window;
}

} // namespace

QWidget* OpenSingleView(QMdiArea* area, Prompter& prompter, const QString& caption, const QString& path) {
    auto* window = new TfrmViewSingleMDI(prompter);
    window->Open(path.toStdString(), caption);
    return ShowInArea(area, window);
}

QWidget* OpenDualView(QMdiArea* area, Prompter& prompter, const QString& caption, const QString& beforePath,
                      const QString& afterPath) {
    auto* window = new TfrmViewDualMDI(prompter);
    window->Open(beforePath.toStdString(), afterPath.toStdString());
    if (!caption.isEmpty())
        window->SetCaption(caption);
    return ShowInArea(area, window);
}

} // namespace kemptor
