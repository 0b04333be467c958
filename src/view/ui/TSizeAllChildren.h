#pragma once
// A panel whose child widgets always fill it: on every resize each child is placed at (0, 0) with the
// panel's width and height.

#include <QWidget>

namespace kemptor {

class TSizeAllChildren : public QWidget {
    Q_OBJECT
public:
    explicit TSizeAllChildren(QWidget* parent = nullptr) : QWidget(parent) {}

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace kemptor
