#pragma once
// The spell checker's own options: the dictionary language (from the Hunspell dictionaries installed),
// the custom dictionary's file, and whether words in capitals only and words with digits are skipped.
// Loaded from and saved to the speller's options file; OK saves, a refused write keeps the dialog open.

#include "spell/SpellerOptions.h"

#include <QDialog>

#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace kemptor {

class Prompter;

class TfrmSpellOptions : public QDialog {
    Q_OBJECT
public:
    TfrmSpellOptions(Prompter& prompter, std::string optionsFile = kSpellerOptionsFileName,
                     QWidget* parent = nullptr);

    // The options the controls hold.
    SpellerOptions Values() const;
    void SetValues(const SpellerOptions& options);
    // Saves the controls; false (after the message) when the file refused the write.
    bool Save();

    // The file chooser of the Browse button; replaceable for tests.
    std::function<QString(const QString& start)> ChooseCustomDictionary;

    QComboBox* cboLanguage = nullptr;
    QLineEdit* edtCustomDictionary = nullptr;
    QCheckBox* chkSkipUpperCase = nullptr;
    QCheckBox* chkSkipDigits = nullptr;

    void accept() override;

private:
    Prompter& prompter_;
    std::string optionsFile_;
};

} // namespace kemptor
