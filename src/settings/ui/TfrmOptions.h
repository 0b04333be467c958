#pragma once
// The Options dialog. Its profile-bound controls hold the settings in force: the run, the engine and the
// commentor read CurrentSettings() at the moment of use. Created once and only hidden when closed.

#include "formatter/HeaderTemplates.h"
#include "platform/Profile.h"
#include "settings/Settings.h"
#include "settings/ui/TfrmSaveOrLoad.h"

#include <QDialog>
#include <QHash>
#include <QStringList>

#include <functional>
#include <string>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QLineEdit;

namespace kemptor {

class Prompter;
class TINIBound;
class TINICheckBox;
class TINIEdit;
class TINIRadioButton;
class TINIRadioGroup;
class TINISpinEdit;

// The header templates shown when no template file replaces them.
QStringList DefaultSubHeaderTemplate();
QStringList DefaultFunctionHeaderTemplate();

class TfrmOptions : public QDialog {
    Q_OBJECT
public:
    explicit TfrmOptions(Prompter& prompter, QWidget* parent = nullptr,
                         std::string fileName = kSettingsFileName);

    // Shows the dialog modally: loads the settings and templates, opens on "General", and on OK saves
    // every control; a refused write keeps it open. Returns QDialog::Accepted or Rejected.
    int Execute();

    // Reloads every setting and both templates from their files (after a project has been opened).
    void ReloadFromProfile();
    // Replaces each template by its file's text when a file is named; warns when it cannot be read.
    void LoadCommentHeaders();

    // The settings in force: the controls' current values (TabWidth is not a dialog value).
    Settings CurrentSettings() const;
    // Sets every control as a user would (used to restore the values of the last showing on Cancel).
    void ApplySettings(const Settings& settings);

    QStringList SubTemplate() const;
    QStringList FunctionTemplate() const;
    // Both templates in force, as the engine takes them.
    HeaderTemplates Templates() const;

    // The control bound to a catalogue key, for the commands and tests that need one.
    QWidget* ControlFor(const QString& key) const;
    TINIBound* BoundFor(const QString& key) const;

    void SelectPage(int index);
    int CurrentPage() const;
    int HelpContext() const { return helpContext_; }

    // Outside dialogs, replaceable so that tests can answer them.
    std::function<QString(const QString& start)> ChooseDirectory;
    std::function<TfrmSaveOrLoad::Choice()> AskSaveOrLoad;
    std::function<QString()> ChooseTemplateSaveFile;
    std::function<QString()> ChooseTemplateLoadFile;
    // The open project's directory, from which a relative output directory is taken; empty without one.
    void SetProjectDirectory(const QString& dir) { projectDir_ = dir; }
    // The open project's own settings file, whose formatting settings a run uses instead of the dialog's;
    // the General page says so while one is set. Empty: none.
    void SetProjectSettingsFile(const QString& path);
    // Opens the spell checker's own options; the button is disabled while none is given.
    void SetSpellCheckerConfigure(std::function<void()> configure);

    static constexpr int kPageCount = 7;

public slots:
    void accept() override;
    void reject() override;

private:
    QWidget* BuildGeneralPage();
    QWidget* BuildIndentsPage();
    QWidget* BuildCommentsPage();
    QWidget* BuildSingleLineTab();
    QWidget* BuildInLineTab();
    QWidget* BuildHeaderTab(bool functions);
    QWidget* BuildSpecialTab();
    QWidget* BuildBlankLinesPage();
    QWidget* BuildSpellCheckPage();
    QWidget* BuildSavePage();
    QWidget* BuildUserPage();

    TINICheckBox* Check(const char* key, const char* name = nullptr);
    TINIRadioButton* Radio(const char* key, const char* name = nullptr);
    TINISpinEdit* Spin(const char* key);
    TINIRadioGroup* Group(const char* key, const QString& title, Qt::Orientation orientation = Qt::Vertical);
    TINIEdit* Edit(const char* key, const char* name = nullptr);
    void Bind(QWidget* control, const SettingDef& def, const QString& name);

    void ApplyDisplayRules();
    void BackupDirectoryLeft();
    void SelectDirectoryClick();
    void TemplateFileClick(bool functions);
    bool eventFilter(QObject* watched, QEvent* event) override;

    Prompter& prompter_;
    std::string fileName_;
    int helpContext_ = 11;
    QListWidget* lviewSelect_ = nullptr;
    QStackedWidget* optionPages_ = nullptr;
    QTabWidget* pageComments_ = nullptr;
    QPlainTextEdit* memoSubLevelComments_ = nullptr;
    QPlainTextEdit* memoFunctionLevelComments_ = nullptr;
    QPushButton* btnConfigureSpeller_ = nullptr;
    std::function<void()> configureSpeller_;
    QString projectDir_;
    QLabel* lblProjectSettings_ = nullptr;
    QHash<QString, QWidget*> controls_;
    Settings shown_;
    QString shownSubTemplate_;
    QString shownFunctionTemplate_;
};

} // namespace kemptor
