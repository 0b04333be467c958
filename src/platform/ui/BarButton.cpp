#include "platform/ui/BarButton.h"

#include <QBoxLayout>
#include <QToolButton>

namespace kemptor {

QToolButton* AddBarButton(QBoxLayout* row, const char* name, const QString& hint, const QIcon& icon) {
    auto* button = new QToolButton(row->parentWidget());
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setIcon(icon);
    button->setIconSize(QSize(20, 20));
    button->setAutoRaise(true);
    row->addWidget(button);
    return button;
}

} // namespace kemptor
