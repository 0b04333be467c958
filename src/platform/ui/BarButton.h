#pragma once
// The picture buttons of a window's button bar: a hint and an icon, no caption.

#include <QIcon>
#include <QString>

class QBoxLayout;
class QToolButton;

namespace kemptor {

// Adds a flat button named `name` to the bar laid out by `row` (whose widget becomes its parent).
QToolButton* AddBarButton(QBoxLayout* row, const char* name, const QString& hint, const QIcon& icon);

} // namespace kemptor
