// The Options dialog and its profile-bound controls: loading and saving every key, the load rules of the
// control family, the display rules, Cancel, the output directory box, the templates and help contexts.
#include "platform/Profile.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "platform/ui/DocumentFolder.h"
#include "platform/ui/Help.h"
#include "settings/SettingsProfile.h"
#include "settings/ui/INIControls.h"
#include "settings/ui/TfrmOptions.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <fstream>
#include <functional>

using namespace kemptor;

namespace {

// Runs `during` once the modal dialog is up, then returns the dialog's result.
int ExecuteWith(TfrmOptions& dialog, std::function<void()> during) {
    QTimer::singleShot(0, &dialog, [&dialog, during] {
        during();
        if (dialog.isVisible())
            dialog.reject();
    });
    return dialog.Execute();
}

void WriteFile(const QString& path, const std::string& text) {
    std::ofstream out(path.toStdString(), std::ios::binary);
    out << text;
}

template <class T> T* Control(TfrmOptions& d, const char* key) {
    return dynamic_cast<T*>(d.ControlFor(key));
}

// A settings value that differs from the defaults in every key, within each key's range.
Settings EveryKeyChanged() {
    Settings s;
    int n = 0;
    ForEachSetting(s, [&n](const SettingDef& def, auto& member) {
        using T = std::decay_t<decltype(member)>;
        ++n;
        if constexpr (std::is_same_v<T, bool>) {
            if (def.kind == SettingKind::Bool)
                member = !member;
        } else if constexpr (std::is_same_v<T, int>) {
            int span = def.maximum - def.minimum + 1;
            member = def.minimum + (member - def.minimum + 1 + n % 3) % span;
        } else {
            member = def.maximum > 0 ? std::string("*#") : std::string("C:\\Out ") + std::to_string(n) + "\\";
        }
    });
    s.BackupOnlyNewFiles = false;
    s.BackupMAKFiles = false;
    s.BackupAllFiles = true;
    s.SubLevelCommentsBeforeProcedure = true;
    s.SubLevelCommentsAfterProcedure = false;
    s.FunctionLevelCommentsBeforeProcedure = true;
    s.FunctionLevelCommentsAfterProcedure = false;
    s.SubLevelCommentsFile.clear(); // a named template file would be loaded (and warned about)
    s.FunctionLevelCommentsFile.clear();
    return s;
}

} // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString ini_;
    std::string Ini() const { return ini_.toStdString(); }

private slots:
    void init() {
        ini_ = dir_.filePath(QString("opt%1.ini").arg(QDateTime::currentMSecsSinceEpoch()));
        QFile::remove(ini_);
    }

    void StartsWithTheCatalogueDefaultsAndLayout() {
        ScriptedPrompter prompter;
        TfrmOptions d(prompter, nullptr, Ini());
        QCOMPARE(d.CurrentSettings(), Settings());
        QCOMPARE(d.size(), QSize(580, 395));
        auto* list = d.findChild<QListWidget*>("lviewSelect");
        QStringList pages;
        for (int i = 0; i < list->count(); ++i)
            pages << list->item(i)->text();
        QCOMPARE(pages, QStringList({"General", "Indents", "Comments", "Blank Lines", "Spell Check", "Save",
                                     "User"}));
        auto* tabs = d.findChild<QTabWidget*>("pageComments");
        QStringList tabNames;
        for (int i = 0; i < tabs->count(); ++i)
            tabNames << tabs->tabText(i);
        QCOMPARE(tabNames, QStringList({"Single Line", "In-line", "Subroutines", "Functions", "Special"}));
        QCOMPARE(d.SubTemplate().size(), 11);
        QCOMPARE(d.FunctionTemplate().size(), 12);
        QCOMPARE(d.FunctionTemplate().at(5), QString("'!  Returns:  %r"));
        QCOMPARE(d.SubTemplate().first(), QString("'! ") + QString(59, '-'));
        QCOMPARE(d.SubTemplate().at(5), QString("'!  Purpose:  "));
    }

    void SavesAndLoadsEveryKeyAndAgreesWithTheCoreLoader() {
        ScriptedPrompter prompter;
        const Settings changed = EveryKeyChanged();
        {
            TfrmOptions d(prompter, nullptr, Ini());
            ExecuteWith(d, [&] {
                d.ApplySettings(changed);
                d.accept();
            });
            QVERIFY(!d.isVisible());
            QCOMPARE(d.CurrentSettings(), changed);
        }
        TfrmOptions fresh(prompter, nullptr, Ini());
        fresh.ReloadFromProfile();
        QCOMPARE(fresh.CurrentSettings(), changed);

        // The command line reads the same file with the core loader: both roads give equal settings.
        Settings core;
        LoadSettings(core, Ini());
        QCOMPARE(core, fresh.CurrentSettings());
        QVERIFY(prompter.Messages().empty());
    }

    void LoadClampsConvertsAndKeepsUnreadableValues() {
        WriteFile(ini_, "[Indents]\nIfThenElseIndent=99\nDoLoopIndent=0x10\nWhileWendIndent=abc\n"
                        "CodeIndentPerform=2\n[General]\nAlignDimAsGroupQty=0\n"
                        "[BackupInformation]\nBackupMAKFiles=1\nBackupAllFiles=1\n");
        ScriptedPrompter prompter;
        TfrmOptions d(prompter, nullptr, Ini());
        Control<TINISpinEdit>(d, "WhileWendIndent")->setValue(7);
        d.ReloadFromProfile();
        Settings s = d.CurrentSettings();
        QCOMPARE(s.IfThenElseIndent, 80);
        QCOMPARE(s.AlignDimAsGroupQty, 1);
        QCOMPARE(s.DoLoopIndent, 16);
        QCOMPARE(s.WhileWendIndent, 7); // letters leave the current value
        QVERIFY(s.CodeIndentPerform);
        QVERIFY(s.BackupAllFiles); // the later button of the group wins
        QVERIFY(!s.BackupMAKFiles);
        QVERIFY(!s.BackupOnlyNewFiles);

        QVERIFY(SaveINIControls(&d, Ini()));
        QCOMPARE(GetPrivateProfileString("Indents", "CodeIndentPerform", "", Ini()), std::string("1"));

        Settings core;
        LoadSettings(core, Ini());
        core.WhileWendIndent = 7;
        QCOMPARE(core, s);
    }

    void AllBackupKeysClearedLeavesNoButtonSelected() {
        WriteFile(ini_, "[BackupInformation]\nBackupOnlyNewFiles=0\nBackupMAKFiles=0\nBackupAllFiles=0\n");
        ScriptedPrompter prompter;
        TfrmOptions d(prompter, nullptr, Ini());
        d.ReloadFromProfile();
        for (const char* key : {"BackupOnlyNewFiles", "BackupMAKFiles", "BackupAllFiles"})
            QVERIFY(!Control<QAbstractButton>(d, key)->isChecked());
    }

    void SpinBoxEmptiedReadsAndSavesItsMinimum() {
        ScriptedPrompter prompter;
        TfrmOptions d(prompter, nullptr, Ini());
        auto* spin = Control<TINISpinEdit>(d, "InLineCommentsFixedColumn");
        spin->findChild<QLineEdit*>()->clear();
        QCOMPARE(spin->Value(), 1);
        QCOMPARE(d.CurrentSettings().InLineCommentsFixedColumn, 1);
        QVERIFY(spin->SaveINI(Ini()));
        QCOMPARE(GetProfileInteger("InLineComments", "InLineCommentsFixedColumn", -5, Ini()), 1);
    }

    void ShowingAppliesTheDisplayRulesAndFollowsTheChoices() {
        WriteFile(ini_, "[SpellCheck]\nSpellingPerform=0\n[InLineComments]\nGrpInLineComments=1\n");
        ScriptedPrompter prompter;
        TfrmOptions d(prompter, nullptr, Ini());
        ExecuteWith(d, [&] {
            QCOMPARE(d.windowTitle(), QString("Options - General"));
            QCOMPARE(d.HelpContext(), 11);
            QVERIFY(!d.ControlFor("SpellingLiterals")->isEnabled());
            QVERIFY(!d.ControlFor("SpellingComments")->isEnabled());
            Control<QAbstractButton>(d, "SpellingPerform")->click();
            QVERIFY(d.ControlFor("SpellingLiterals")->isEnabled());
            QVERIFY(d.ControlFor("SpellingComments")->isEnabled());

            d.SelectPage(2);
            d.findChild<QTabWidget*>("pageComments")->setCurrentIndex(1);
            QVERIFY(d.ControlFor("GrpInLineCommentsFixedColUnavail")->isVisible());
            QVERIFY(d.ControlFor("InLineCommentsUnavailColIndent")->isVisible());
            Control<TINIRadioGroup>(d, "GrpInLineComments")->Item(3)->click(); // "Remove"
            QVERIFY(!d.ControlFor("GrpInLineCommentsFixedColUnavail")->isVisible());
            QVERIFY(!d.ControlFor("InLineCommentsUnavailColIndent")->isVisible());
        });
    }

    void PageListSetsCaptionAndHelpContexts() {
        ScriptedPrompter prompter;
        TfrmOptions d(prompter, nullptr, Ini());
        const int contexts[] = {11, 12, 13, 15, 16, 17, 71};
        const char* names[] = {"General",     "Indents", "Comments", "Blank Lines",
                               "Spell Check", "Save",    "User"};
        auto* list = d.findChild<QListWidget*>("lviewSelect");
        for (int i = 0; i < 7; ++i) {
            list->setCurrentRow(i);
            QCOMPARE(d.CurrentPage(), i);
            QCOMPARE(d.windowTitle(), QString("Options - ") + names[i]);
            QCOMPARE(d.HelpContext(), contexts[i]);
        }
        auto* tabs = d.findChild<QTabWidget*>("pageComments");
        const int tabContexts[] = {13, 14, 29, 30};
        for (int i = 0; i < 4; ++i) {
            tabs->setCurrentIndex(i);
            QCOMPARE(HelpContextOf(tabs->widget(i)->findChild<QWidget*>()), tabContexts[i]);
            QCOMPARE(HelpContextOf(tabs->tabBar()), tabContexts[i]); // F1 on the tab itself
        }
        d.findChild<QPushButton*>("btnHelp")->click();
        QCOMPARE(ShownHelpContext(), 71);
    }

    // A click on a tab leaves the focus on the page list: F1 and Help still open the tab's topic.
    void F1AfterAClickOnATabOpensTheTabsTopic() {
        ScriptedPrompter prompter;
        TfrmOptions d(prompter, nullptr, Ini());
        d.show();
        QVERIFY(QTest::qWaitForWindowActive(&d));
        auto* list = d.findChild<QListWidget*>("lviewSelect");
        list->setFocus();
        list->setCurrentRow(2); // Comments
        auto* tabs = d.findChild<QTabWidget*>("pageComments");
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
        QCOMPARE(tabs->currentIndex(), 1);
        QCOMPARE(QApplication::focusWidget(), list);
        QTest::keyClick(list, Qt::Key_F1);
        QCOMPARE(ShownHelpContext(), 14);
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(3).center());
        d.findChild<QPushButton*>("btnHelp")->click();
        QCOMPARE(ShownHelpContext(), 30);
        list->setCurrentRow(1); // Indents: the page's own topic again
        QTest::keyClick(list, Qt::Key_F1);
        QCOMPARE(ShownHelpContext(), 12);
        list->setCurrentRow(2); // back on Comments, which still shows its Functions tab
        QCOMPARE(d.HelpContext(), 30);
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == "frmHelp")
                top->close();
        d.reject();
    }

    // The header-template dialogs start in the open project's folder, not where a dialog was last.
    void TemplateDialogsStartInTheProjectsFolder() {
        ScriptedPrompter prompter;
        TfrmOptions d(prompter, nullptr, Ini());
        QTemporaryDir project;
        SetDocumentFolder(project.path());
        for (const auto& choose : {d.ChooseTemplateSaveFile, d.ChooseTemplateLoadFile}) {
            QString directory;
            QTimer::singleShot(0, [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                directory = dialog->directory().absolutePath();
                dialog->reject();
            });
            QCOMPARE(choose(), QString());
            QCOMPARE(directory, project.path());
        }
        SetDocumentFolder({});
    }

    void CancelRestoresTheValuesInForceEvenWithoutAFile() {
        ScriptedPrompter prompter;
        TfrmOptions d(prompter, nullptr, Ini());
        QVERIFY(!QFile::exists(ini_));
        ExecuteWith(d, [&] {
            Control<TINISpinEdit>(d, "IfThenElseIndent")->setValue(12);
            Control<QAbstractButton>(d, "BackupAllFiles")->click();
            d.findChild<QPlainTextEdit*>("memoSubLevelComments")->setPlainText("' changed");
            d.reject();
        });
        QCOMPARE(d.CurrentSettings(), Settings());
        QCOMPARE(d.SubTemplate(), DefaultSubHeaderTemplate());
        QVERIFY(!QFile::exists(ini_)); // nothing written
    }

    void RefusedWriteKeepsTheDialogOpenWithTheUsersValues() {
        QString blocker = dir_.filePath("blocker");
        WriteFile(blocker, "a file where a directory should be");
        std::string unwritable = (blocker + "/VBKEMPT3.INI").toStdString();
        ScriptedPrompter prompter;
        TfrmOptions d(prompter, nullptr, unwritable);
        bool stillOpen = false;
        ExecuteWith(d, [&] {
            Control<TINISpinEdit>(d, "ForNextIndent")->setValue(9);
            d.findChild<QPushButton*>("btnOK")->click();
            stillOpen = d.isVisible();
            QCOMPARE(Control<TINISpinEdit>(d, "ForNextIndent")->Value(), 9);
            d.reject();
        });
        QVERIFY(stillOpen);
        QCOMPARE(prompter.Messages().size(), size_t(1));
        QCOMPARE(prompter.Messages()[0].text, UnableToWriteMessage(unwritable));
        QCOMPARE(prompter.Messages()[0].kind, PromptKind::Error);
    }

    void OutputDirectoryEndsWithASeparator() {
        ScriptedPrompter prompter;
        TfrmOptions d(prompter, nullptr, Ini());
        QLineEdit* other = Control<QLineEdit>(d, "UserName");
        auto* box = Control<QLineEdit>(d, "BackupNewCodeDirectory");
        d.show();
        d.SelectPage(5);
        QVERIFY(QTest::qWaitForWindowExposed(&d));
        auto leave = [&](const QString& text) {
            box->setFocus();
            box->setText(text);
            QFocusEvent out(QEvent::FocusOut);
            QApplication::sendEvent(box, &out);
            return box->text();
        };
        QCOMPARE(leave("C:\\Styled"), QString("C:\\Styled\\"));
        QCOMPARE(leave(""), QString("\\"));
        QCOMPARE(leave("/srv/out"), QString("/srv/out/"));
        QCOMPARE(leave(".\\OUT\\"), QString(".\\OUT\\"));
        Q_UNUSED(other);

        QString asked;
        d.ChooseDirectory = [&](const QString& start) {
            asked = start;
            return QString("/home/u/styled");
        };
        d.findChild<QToolButton*>("btnSelectDirectory")->click();
        QCOMPARE(box->text(), QString("/home/u/styled/"));
        QCOMPARE(asked, QString("./OUT/")); // the box text mapped to a host path
        d.ChooseDirectory = [&](const QString& start) {
            asked = start;
            return QString();
        };
        d.findChild<QToolButton*>("btnSelectDirectory")->click();
        QCOMPARE(box->text(), QString("/home/u/styled/")); // cancelling the chooser changes nothing

        // With a project open, the chooser starts where the run would write, under the project, once
        // that directory exists; before, at the project's directory.
        const QString project = dir_.filePath("chooser") + "/";
        QDir().mkpath(project + "OUT");
        d.SetProjectDirectory(project);
        box->setText(".\\OUT\\");
        d.findChild<QToolButton*>("btnSelectDirectory")->click();
        QCOMPARE(asked, project + "OUT/");
        box->setText(".\\NEW\\");
        d.findChild<QToolButton*>("btnSelectDirectory")->click();
        QCOMPARE(asked, project);
        box->setText(dir_.path() + "/");
        d.findChild<QToolButton*>("btnSelectDirectory")->click();
        QCOMPARE(asked, dir_.path() + "/");
        d.hide();
    }

    void TemplatesAreSavedLoadedAndReloadedWithWarnings() {
        ScriptedPrompter prompter;
        TfrmOptions d(prompter, nullptr, Ini());
        auto* memo = d.findChild<QPlainTextEdit*>("memoSubLevelComments");
        auto* fileBox = Control<QLineEdit>(d, "SubLevelCommentsFile");
        QString saved = dir_.filePath("sub.txt");

        d.AskSaveOrLoad = [] { return TfrmSaveOrLoad::ChoiceSave; };
        d.ChooseTemplateSaveFile = [&] { return saved; };
        memo->setPlainText("' Sub %n\n' by %a");
        d.findChild<QToolButton*>("btnSubLevelCommentsFile")->click();
        QCOMPARE(fileBox->text(), saved);
        QCOMPARE(*ReadTextLines(saved.toStdString()), TextLines({"' Sub %n", "' by %a"}));

        memo->setPlainText("edited in the memo");
        d.AskSaveOrLoad = [] { return TfrmSaveOrLoad::ChoiceLoad; };
        d.ChooseTemplateLoadFile = [&] { return saved; };
        d.findChild<QToolButton*>("btnSubLevelCommentsFile")->click();
        QCOMPARE(d.SubTemplate(), QStringList({"' Sub %n", "' by %a"}));

        // Cancel in the question, or in the file dialog, changes nothing.
        memo->setPlainText("kept");
        d.AskSaveOrLoad = [] { return TfrmSaveOrLoad::ChoiceCancel; };
        d.findChild<QToolButton*>("btnSubLevelCommentsFile")->click();
        d.AskSaveOrLoad = [] { return TfrmSaveOrLoad::ChoiceLoad; };
        d.ChooseTemplateLoadFile = [] { return QString(); };
        d.findChild<QToolButton*>("btnSubLevelCommentsFile")->click();
        QCOMPARE(memo->toPlainText(), QString("kept"));

        // A file named in the box replaces the memo at the next load; a missing one warns and keeps it.
        d.LoadCommentHeaders();
        QCOMPARE(d.SubTemplate(), QStringList({"' Sub %n", "' by %a"}));
        Control<QLineEdit>(d, "FunctionLevelCommentsFile")->setText(dir_.filePath("missing.txt"));
        d.LoadCommentHeaders();
        QVERIFY(prompter.Saw("Unable to load function comment header file: " +
                             dir_.filePath("missing.txt").toStdString()));
        QCOMPARE(d.FunctionTemplate(), DefaultFunctionHeaderTemplate());
    }

    void SaveOrLoadQuestionAnswersWithItsButtons() {
        TfrmSaveOrLoad ask;
        QCOMPARE(ask.windowTitle(), QString("Save or Load?"));
        QVERIFY(!(ask.windowFlags() & Qt::WindowCloseButtonHint));
        const std::pair<const char*, TfrmSaveOrLoad::Choice> cases[] = {
            {"btnSave", TfrmSaveOrLoad::ChoiceSave},
            {"btnLoad", TfrmSaveOrLoad::ChoiceLoad},
            {"btnCancel", TfrmSaveOrLoad::ChoiceCancel}};
        for (const auto& [button, choice] : cases) {
            QTimer::singleShot(0, &ask, [&ask, button] { ask.findChild<QPushButton*>(button)->click(); });
            QCOMPARE(ask.Ask(), choice);
        }
    }
};

// The control family on its own, outside the dialog.
class IniControlsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::string Ini(const char* name) const { return dir_.filePath(name).toStdString(); }

private slots:
    void ControlsWithoutAKeyAreSkippedAndLeftAlone() {
        std::string ini = Ini("nokey.ini");
        QWidget form;
        auto* bound = new TINICheckBox("bound", &form);
        bound->SetINI("S", "Bound");
        auto* loose = new TINICheckBox("loose", &form);
        loose->SetINI("S", "");
        loose->setChecked(true);
        QVERIFY(SaveINIControls(&form, ini));
        QCOMPARE(GetPrivateProfileString("S", "Bound", "?", ini), std::string("0"));
        QCOMPARE(GetPrivateProfileString("S", "", "?", ini), std::string("?"));
        loose->setChecked(false);
        WritePrivateProfileString("S", "Bound", "1", ini);
        LoadINIControls(&form, ini);
        QVERIFY(bound->isChecked());
        QVERIFY(!loose->isChecked());
    }

    void VisitsControlsInCreationOrderDepthFirst() {
        QWidget form;
        auto* a = new TINIEdit(&form);
        auto* box = new QWidget(&form);
        auto* b = new TINIEdit(box);
        auto* c = new TINIEdit(&form);
        auto* dialog = new QDialog(&form);
        new TINIEdit(dialog); // a window of the form is a form of its own
        QList<TINIBound*> expected{a, b, c};
        QCOMPARE(INIControlsOf(&form), expected);
    }

    void LoadingRunsTheChangeHandlers() {
        std::string ini = Ini("handlers.ini");
        WritePrivateProfileString("S", "Check", "1", ini);
        WritePrivateProfileString("S", "Group", "2", ini);
        QWidget form;
        auto* check = new TINICheckBox("c", &form);
        check->SetINI("S", "Check");
        auto* group = new TINIRadioGroup("g", {"a", "b", "c"}, &form);
        group->SetINI("S", "Group");
        QSignalSpy toggled(check, &QCheckBox::toggled);
        QSignalSpy clicked(group, &TINIRadioGroup::Clicked);
        LoadINIControls(&form, ini);
        QCOMPARE(toggled.count(), 1);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(group->ItemIndex(), 2);
        WritePrivateProfileString("S", "Group", "9", ini);
        LoadINIControls(&form, ini);
        QCOMPARE(group->ItemIndex(), 2); // an index past the items selects the last one
    }

    void OtherMembersRoundTrip() {
        std::string ini = Ini("members.ini");
        QMainWindow window;
        auto* bar = new TINIToolBar("bar", &window);
        window.addToolBar(Qt::TopToolBarArea, bar);
        bar->SetINI("W", "Bar");
        auto* combo = new TINIComboBox(&window);
        combo->addItems({"one", "two", "three"});
        combo->SetINI("W", "ComboIndex");
        combo->INISaveIndex = true;
        auto* comboText = new TINIComboBox(&window);
        comboText->setEditable(true);
        comboText->SetINI("W", "ComboText");
        auto* list = new TINIListBox(&window);
        list->addItems({"x", "y"});
        list->SetINI("W", "List");
        list->INISaveIndex = true;
        auto* memo = new TINIMemo(&window);
        memo->SetINI("W", "Memo");
        auto* speed = new TINISpeedButton(&window);
        speed->SetINI("W", "Speed");
        auto* mask = new TINIMaskEdit(&window);
        mask->SetINI("W", "Mask");

        window.addToolBar(Qt::LeftToolBarArea, bar);
        combo->setCurrentIndex(2);
        comboText->setCurrentText("typed");
        list->setCurrentRow(1);
        QFont f = memo->font();
        f.setPointSize(13);
        f.setBold(true);
        memo->setFont(f);
        QPalette pal = memo->palette();
        pal.setColor(QPalette::Base, QColor(1, 2, 3));
        memo->setPalette(pal);
        speed->setChecked(true);
        mask->setText("AB12");
        QVERIFY(SaveINIControls(&window, ini));
        QCOMPARE(GetProfileInteger("W", "BarDocked", -1, ini), 3);
        QCOMPARE(GetProfileInteger("W", "MemoBGColor", -1, ini), 0x030201);

        window.addToolBar(Qt::TopToolBarArea, bar);
        combo->setCurrentIndex(0);
        comboText->setCurrentText("");
        list->setCurrentRow(0);
        memo->setFont(QFont());
        speed->setChecked(false);
        mask->clear();
        LoadINIControls(&window, ini);
        QCOMPARE(window.toolBarArea(bar), Qt::LeftToolBarArea);
        QCOMPARE(combo->currentIndex(), 2);
        QCOMPARE(comboText->currentText(), QString("typed"));
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(memo->font().pointSize(), 13);
        QVERIFY(memo->font().bold());
        QCOMPARE(memo->palette().color(QPalette::Base), QColor(1, 2, 3));
        QVERIFY(speed->isChecked());
        QCOMPARE(mask->text(), QString("AB12"));
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    int status = 0;
    {
        OptionsDialogTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    {
        IniControlsTest t;
        status |= QTest::qExec(&t, argc, argv);
    }
    return status;
}

#include "options_dialog.moc"
