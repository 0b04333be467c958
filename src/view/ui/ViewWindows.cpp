#include "view/ui/ViewWindows.h"

#include "view/ui/TfrmViewDualMDI.h"
#include "view/ui/TfrmViewSingleMDI.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

#include <algorithm>

namespace kemptor {

namespace {

// The offset of the `index`-th cascaded window of `size` in an area of `room`, stepping `step` pixels
// and starting again at the top-left where the next step would leave the area.
QPoint CascadeOffset(QSize room, QSize size, int index, int step) {
    const int across = std::max(0, room.width() - size.width()) / step;
    const int down = std::max(0, room.height() - size.height()) / step;
    const int positions = std::max(1, std::min(across, down) + 1);
    const int k = index % positions;
    return {k * step, k * step};
}

int TitleBarStep(const QMdiSubWindow* sub) {
    return std::max(16, sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub) + 4);
}

} // namespace

// Source lines can be read without resizing every new window first.
QWidget* ShowInClientArea(QMdiArea* area, QWidget* window, double widthShare) {
    if (area == nullptr) {
        window->show();
        return window;
    }
    QMdiSubWindow* sub = area->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // A window's own Close button frees the window but not the frame around it; the frame follows.
    // Queued, so that nothing reaches a frame that is itself being freed.
    QObject::connect(window, &QObject::destroyed, sub, &QWidget::close, Qt::QueuedConnection);
    const QSize room = area->viewport()->size();
    sub->resize(std::max(sub->minimumWidth(), static_cast<int>(room.width() * widthShare)),
                std::max(sub->minimumHeight(), room.height() * 4 / 5));
    // Each new view a step below and to the right of the last, as cascaded windows stand, inside the area.
    const int index = static_cast<int>(area->subWindowList().size() - 1);
    sub->move(CascadeOffset(room, sub->size(), index, TitleBarStep(sub)));
    sub->show();
    return window;
}

void CascadeSubWindows(QMdiArea* area) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* w : area->subWindowList(QMdiArea::CreationOrder))
        if (w->isVisible() && !w->isMinimized())
            windows.append(w);
    if (windows.isEmpty())
        return;
    const QSize room = area->viewport()->size();
    const int step = TitleBarStep(windows.first());
    // Each window keeps most of the area: it gives up one step per further window, down to three
    // quarters of the area, so its text stays readable however many windows there are.
    const int count = static_cast<int>(windows.size());
    const QSize size(std::max(room.width() * 3 / 4, room.width() - step * (count - 1)),
                     std::max(room.height() * 3 / 4, room.height() - step * (count - 1)));
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* w = windows[i];
        w->showNormal();
        w->setGeometry(QRect(CascadeOffset(room, size, i, step), size));
        w->raise();
    }
    area->setActiveSubWindow(windows.last());
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
