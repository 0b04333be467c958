#include "view/ui/ViewWindows.h"

#include "view/ui/TfrmViewDualMDI.h"
#include "view/ui/TfrmViewSingleMDI.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace kemptor {

// Source lines can be read without resizing every new window first.
QWidget* ShowInClientArea(QMdiArea* area, QWidget* window, double widthShare) {
    if (area == nullptr) {
        window->show();
        return window;
    }
    QMdiSubWindow* sub = area->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    const QSize room = area->viewport()->size();
    sub->resize(std::max(sub->minimumWidth(), static_cast<int>(room.width() * widthShare)),
                std::max(sub->minimumHeight(), room.height() * 4 / 5));
    // Each new view a step below and to the right of the last, as cascaded windows stand, inside the area.
    constexpr int kStep = 24;
    const int steps = static_cast<int>(area->subWindowList().size() - 1) % 8;
    const int x = std::min(steps * kStep, std::max(0, room.width() - sub->width()));
    const int y = std::min(steps * kStep, std::max(0, room.height() - sub->height()));
    sub->move(x, y);
    sub->show();
    return window;
}

QWidget* OpenSingleView(QMdiArea* area, Prompter& prompter, const QString& caption, const QString& path) {
    auto* window = new TfrmViewSingleMDI(prompter);
    window->Open(path.toStdString(), caption);
    return ShowInClientArea(area, window, 0.6);
}

QWidget* OpenDualView(QMdiArea* area, Prompter& prompter, const QString& caption, const QString& beforePath,
                      const QString& afterPath) {
    auto* window = new TfrmViewDualMDI(prompter);
    window->Open(beforePath.toStdString(), afterPath.toStdString());
    if (!caption.isEmpty())
        window->SetCaption(caption);
    return ShowInClientArea(area, window, 0.9);
}

} // namespace kemptor
