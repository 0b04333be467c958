#include "platform/ui/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace kemptor {

namespace {

// The frame around a window: known once it is shown; before that, room for a title bar and borders.
QMargins FrameOf(const QWidget& window) {
    if (window.isVisible()) {
        const QRect outer = window.frameGeometry();
        const QRect inner = window.geometry();
        if (outer != inner)
            return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
                    outer.bottom() - inner.bottom()};
    }
    return {4, 32, 4, 4};
}

int Clamped(int at, int first, int length, int room) {
    return std::clamp(at, first, std::max(first, first + room - length));
}

// Where an edge of the outer rectangle goes along one axis: at the start, the end or the middle of the
// span [from, from + span).
int Aligned(bool start, bool end, int from, int span, int length) {
    if (start)
        return from;
    if (end)
        return from + span - length;
    return from + (span - length) / 2;
}

} // namespace

void FitOnScreen(QWidget& window, const QWidget* near, Qt::Alignment where) {
    const QScreen* screen = near && near->screen() ? near->screen() : window.screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QMargins frame = FrameOf(window);
    window.resize(window.size().boundedTo(area.size().shrunkBy(frame)));
    const QSize outer = window.size().grownBy(frame);

    QPoint at = window.isVisible() ? window.frameGeometry().topLeft() : window.pos();
    if (!window.isVisible() && !window.testAttribute(Qt::WA_Moved)) {
        const QRect base = near ? near->frameGeometry() : area;
        at = {Aligned(where.testFlag(Qt::AlignLeft), where.testFlag(Qt::AlignRight), base.left(), base.width(),
                      outer.width()),
              Aligned(where.testFlag(Qt::AlignTop), where.testFlag(Qt::AlignBottom), base.top(), base.height(),
                      outer.height())};
    }
    // move() places the frame's top-left corner.
    window.move(Clamped(at.x(), area.left(), outer.width(), area.width()),
                Clamped(at.y(), area.top(), outer.height(), area.height()));
}

} // namespace kemptor
