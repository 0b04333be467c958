#include "spell/ui/TfrmSpellOptions.h"

#include "platform/Prompter.h"
#include "platform/ui/Help.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kemptor {

namespace {
constexpr const char* kAutomatic = "(automatic: en_US when installed)";
constexpr int kHelpContext = 31;
} // namespace

TfrmSpellOptions::TfrmSpellOptions(Prompter& prompter, std::string optionsFile, QWidget* parent)
    : QDialog(parent), prompter_(prompter), optionsFile_(std::move(optionsFile)) {
    setObjectName("frmSpellOptions");
    setWindowTitle("Spell Checker Options");
    SetHelpContext(this, kHelpContext);
    InstallHelpKey(this);

    cboLanguage = new QComboBox;
    cboLanguage->setObjectName("cboLanguage");
    cboLanguage->addItem(kAutomatic, QString());
    for (const InstalledDictionary& dictionary : InstalledDictionaries())
        cboLanguage->addItem(QString::fromStdString(dictionary.Language),
                             QString::fromStdString(dictionary.Language));

    edtCustomDictionary = new QLineEdit;
    edtCustomDictionary->setObjectName("edtCustomDictionary");
    edtCustomDictionary->setPlaceholderText("(none: no words can be added)");
    auto* browse = new QPushButton("&Browse...");
    browse->setObjectName("btnBrowseCustom");
    ChooseCustomDictionary = [this](const QString& start) {
        return QFileDialog::getSaveFileName(this, "Custom Dictionary", start,
                                            "Word lists (*.dic *.txt);;All files (*)", nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    };
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = ChooseCustomDictionary(edtCustomDictionary->text());
        if (!chosen.isEmpty())
            edtCustomDictionary->setText(chosen);
    });
    auto* custom = new QHBoxLayout;
    custom->addWidget(edtCustomDictionary, 1);
    custom->addWidget(browse);

    chkSkipUpperCase = new QCheckBox("Skip words in &capitals only (HWND, TODO)");
    chkSkipUpperCase->setObjectName("chkSkipUpperCase");
    chkSkipDigits = new QCheckBox("Skip words with &digits (Win32, x64)");
    chkSkipDigits->setObjectName("chkSkipDigits");

    auto* form = new QFormLayout;
    form->addRow("&Language:", cboLanguage);
    auto* customLabel = new QLabel("C&ustom dictionary:");
    customLabel->setBuddy(edtCustomDictionary);
    form->addRow(customLabel, custom);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &TfrmSpellOptions::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(chkSkipUpperCase);
    layout->addWidget(chkSkipDigits);
    layout->addWidget(buttons);
    resize(480, sizeHint().height());

    SetValues(LoadSpellerOptions(optionsFile_));
}

SpellerOptions TfrmSpellOptions::Values() const {
    SpellerOptions options;
    options.Language = cboLanguage->currentData().toString().toStdString();
    options.CustomDictionary = edtCustomDictionary->text().trimmed().toStdString();
    options.SkipUpperCase = chkSkipUpperCase->isChecked();
    options.SkipWordsWithDigits = chkSkipDigits->isChecked();
    return options;
}

void TfrmSpellOptions::SetValues(const SpellerOptions& options) {
    const QString language = QString::fromStdString(options.Language);
    int index = cboLanguage->findData(language);
    if (index < 0) {
        // A language stored earlier whose dictionary is gone stays choosable, marked as such.
        cboLanguage->addItem(language + " (not installed)", language);
        index = cboLanguage->count() - 1;
    }
    cboLanguage->setCurrentIndex(index);
    edtCustomDictionary->setText(QString::fromStdString(options.CustomDictionary));
    chkSkipUpperCase->setChecked(options.SkipUpperCase);
    chkSkipDigits->setChecked(options.SkipWordsWithDigits);
}

bool TfrmSpellOptions::Save() {
    if (const auto error = SaveSpellerOptions(Values(), optionsFile_)) {
        prompter_.Show(PromptKind::Error, *error, PromptButtons::Ok);
        return false;
    }
    return true;
}

void TfrmSpellOptions::accept() {
    if (Save())
        QDialog::accept();
}

} // namespace kemptor
