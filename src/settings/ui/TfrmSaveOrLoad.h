#pragma once
// The small question asked before a header template is saved to or loaded from a file.

#include <QDialog>

namespace kemptor {

class TfrmSaveOrLoad : public QDialog {
    Q_OBJECT
public:
    enum Choice { ChoiceCancel, ChoiceSave, ChoiceLoad };

    explicit TfrmSaveOrLoad(QWidget* parent = nullptr);

    // Shows the question modally and returns the button chosen (Escape answers Cancel).
    Choice Ask();
};

} // namespace kemptor
