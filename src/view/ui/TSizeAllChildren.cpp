#include "view/ui/TSizeAllChildren.h"

namespace kemptor {

void TSizeAllChildren::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    for (QObject* child : children()) {
        if (auto* widget = qobject_cast<QWidget*>(child); widget != nullptr && !widget->isWindow())
            widget->setGeometry(0, 0, width(), height());
    }
}

} // namespace kemptor
