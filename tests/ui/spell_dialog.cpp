// The spell dialog window on the real speller: what it shows, its buttons, the speller's options
// dialog, "Configure Spell Checker" on the Options dialog, and the dialog during a processing run.
#include "app/ui/SpellWiring.h"
#include "app/ui/TfrmMain.h"
#include "run/ui/TfrmProcessing.h"
#include "platform/Prompter.h"
#include "platform/ui/Help.h"
#include "settings/ui/TfrmOptions.h"
#include "spell/HunspellSpeller.h"
#include "spell/SpellDialogLogic.h"
#include "spell/ui/TfrmSpellDialog.h"
#include "spell/ui/TfrmSpellOptions.h"
#include "ui/UiTestSupport.h"
#include "view/ui/TBigText.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <functional>

using namespace kemptor;

namespace {

using test::CopyTree;

std::string ReadAll(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll().toStdString();
}

void WriteAll(const QString& path, const std::string& bytes) {
    std::ofstream out(path.toStdString(), std::ios::binary);
    out << bytes;
}

} // namespace

class SpellDialogTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    int serial_ = 0;

    // A speller on en_US with its options and custom dictionary in a fresh folder.
    std::unique_ptr<HunspellSpeller> MakeSpeller() {
        const QString folder = dir_.filePath(QString("s%1").arg(++serial_));
        QDir().mkpath(folder);
        SpellerOptions options;
        options.Language = "en_US";
        options.CustomDictionary = (folder + "/CUSTOM.DIC").toStdString();
        const std::string file = (folder + "/SPELLER.INI").toStdString();
        SaveSpellerOptions(options, file);
        return std::make_unique<HunspellSpeller>(file);
    }

    // Checks `text` in the dialog; `act` runs each time the dialog is up (it must close it).
    std::string CheckInDialog(HunspellSpeller& speller, Prompter& prompter, std::string text,
                              std::function<void(TfrmSpellDialog&)> act, bool* changed = nullptr) {
        TfrmSpellDialog dialog;
        SpellDialogLogic logic(speller, prompter, dialog);
        dialog.OnShown = act;
        const SpellCheckOutcome outcome = logic.SpellCheckText("    x = \"" + text + "\"", text, {});
        if (changed)
            *changed = outcome.changed;
        return text;
    }

private slots:
    void initTestCase() {
        if (!FindDictionary("en_US"))
            QSKIP("the en_US Hunspell dictionary is not installed");
    }

    void ShowsTheWordItsContextAndSuggestionsAndReplaces() {
        auto speller = MakeSpeller();
        ScriptedPrompter prompter;
        bool seen = false;
        bool changed = false;
        const std::string result = CheckInDialog(
            *speller, prompter, "we recieve it",
            [&](TfrmSpellDialog& d) {
                seen = true;
                QCOMPARE(d.windowTitle(), QString("Word Not Found in Dictionary"));
                QVERIFY(d.windowFlags() & Qt::WindowStaysOnTopHint);
                QCOMPARE(HelpContextOf(&d), 31);
                QCOMPARE(d.Misspell->text(), QString("recieve"));
                QCOMPARE(d.ReplaceWith->text(), QString("receive"));
                QCOMPARE(d.SuggestList->item(0)->text(), QString("receive"));
                QCOMPARE(d.Customs->currentText(), QString("CUSTOM.DIC"));
                QVERIFY(d.Customs->isEnabled());
                QCOMPARE(d.txtDisplay->GetLine(0), std::string("    x = \"we recieve it\""));
                QCOMPARE(d.txtDisplay->GetLine(1), std::string("we recieve it"));
                QStringList captions;
                for (auto b :
                     {SpellButton::Suggestions, SpellButton::SuggestionsReplacement, SpellButton::Ignore,
                      SpellButton::IgnoreAll, SpellButton::Options, SpellButton::Replace,
                      SpellButton::ReplaceAll, SpellButton::CancelSpellcheck, SpellButton::AddToCustom})
                    captions << d.Button(b)->text();
                QCOMPARE(captions,
                         QStringList({"&Suggestions", "S&uggestions", "&Ignore", "I&gnore All", "&Options",
                                      "&Replace", "R&eplace All", "&Cancel Spellcheck", "&Add To Custom"}));
                // A click on another suggestion takes it; a typed word is what is replaced.
                if (d.SuggestList->count() > 1) {
                    QListWidgetItem* second = d.SuggestList->item(1);
                    QTest::mouseClick(d.SuggestList->viewport(), Qt::LeftButton, {},
                                      d.SuggestList->visualItemRect(second).center());
                    QCOMPARE(d.ReplaceWith->text(), second->text());
                }
                d.ReplaceWith->setText("receive");
                d.Button(SpellButton::Replace)->click();
            },
            &changed);
        QVERIFY(seen);
        QVERIFY(changed);
        QCOMPARE(result, std::string("we receive it"));
        QVERIFY(prompter.Messages().empty());
    }

    void AnUnknownReplacementAsksAndNoKeepsTheWord() {
        auto speller = MakeSpeller();
        ScriptedPrompter prompter;
        prompter.Answer(PromptAnswer::No);
        const std::string result = CheckInDialog(*speller, prompter, "recieve", [](TfrmSpellDialog& d) {
            d.ReplaceWith->setText("recieveQ");
            d.Button(SpellButton::Replace)->click();
        });
        QCOMPARE(result, std::string("recieve"));
        QCOMPARE(prompter.Messages().size(), size_t(1));
        QCOMPARE(prompter.Messages()[0].text,
                 std::string("NOTE: Replacement word not in dictionary.  Continue?"));
    }

    void NoSuggestionsDisablesTheListAndClosingTheWindowLeavesTheWord() {
        auto speller = MakeSpeller();
        ScriptedPrompter prompter;
        int shown = 0;
        const std::string result =
            CheckInDialog(*speller, prompter, "qqxzjv qqxzjw", [&](TfrmSpellDialog& d) {
                ++shown;
                QCOMPARE(d.SuggestList->count(), 1);
                QCOMPARE(d.SuggestList->item(0)->text(), QString("[No suggestions]"));
                QVERIFY(!d.SuggestList->isEnabled());
                QCOMPARE(d.ReplaceWith->text(), QString());
                d.close(); // hides it: the word stays and checking goes on
            });
        QCOMPARE(shown, 2);
        QCOMPARE(result, std::string("qqxzjv qqxzjw"));
    }

    void CancelSpellcheckAndAddToCustom() {
        auto speller = MakeSpeller();
        ScriptedPrompter prompter;
        TfrmSpellDialog dialog;
        SpellDialogLogic logic(*speller, prompter, dialog);
        dialog.OnShown = [](TfrmSpellDialog& d) {
            d.Button(SpellButton::AddToCustom)->click();
            QVERIFY(d.isVisible()); // Add To Custom keeps the dialog open
            d.Button(SpellButton::CancelSpellcheck)->click();
        };
        std::string text = "Kemptorian qqxzjv";
        QVERIFY(logic.SpellCheckText("", text, {}).cancelled);
        QCOMPARE(QString::fromStdString(ReadAll(QString::fromStdString(speller->Options().CustomDictionary))),
                 QString("Kemptorian\n"));
        QVERIFY(speller->IsKnown("Kemptorian"));
    }

    void TheSpellersOptionsDialogLoadsAndSavesItsFile() {
        const QString file = dir_.filePath("options.ini");
        WriteAll(file, "[Speller]\r\nLanguage=en_US\r\nCustomDictionary=/x/MY.DIC\r\nSkipUpperCase=0\r\n");
        ScriptedPrompter prompter;
        TfrmSpellOptions dialog(prompter, file.toStdString());
        QCOMPARE(dialog.cboLanguage->currentText(), QString("en_US"));
        QCOMPARE(dialog.edtCustomDictionary->text(), QString("/x/MY.DIC"));
        QVERIFY(!dialog.chkSkipUpperCase->isChecked());
        QVERIFY(dialog.chkSkipDigits->isChecked());
        dialog.chkSkipDigits->setChecked(false);
        dialog.cboLanguage->setCurrentIndex(0); // automatic
        dialog.accept();
        const SpellerOptions saved = LoadSpellerOptions(file.toStdString());
        QCOMPARE(saved.Language, std::string());
        QCOMPARE(saved.CustomDictionary, std::string("/x/MY.DIC"));
        QVERIFY(!saved.SkipWordsWithDigits);
    }

    void ConfigureSpellCheckerOnTheOptionsDialogOpensTheSpellersOptions() {
        ScriptedPrompter prompter;
        TfrmMain w(prompter, nullptr, dir_.filePath("main.ini").toStdString());
        auto* button = w.Options().findChild<QPushButton*>("btnConfigureSpellChecker");
        QVERIFY(button);
        QVERIFY(button->isEnabled());
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* options = qobject_cast<TfrmSpellOptions*>(QApplication::activeModalWidget());
            opened = options != nullptr;
            if (options) {
                options->chkSkipUpperCase->setChecked(false);
                options->accept();
            }
        });
        button->click();
        QVERIFY(opened);
        QVERIFY(!LoadSpellerOptions().SkipUpperCase);
        QVERIFY(!SpellerOf(&w)->Options().SkipUpperCase); // the speller took the new options
        SaveSpellerOptions(SpellerOptions{"", DefaultCustomDictionary(), true, true});
    }

    void DuringARunTheDialogCorrectsTheOutputFile() {
        const QString copy = dir_.filePath("run");
        CopyTree(KEMPTOR_EXAMPLES "/vbp", copy);
        std::string module = ReadAll(copy + "/modGlobals.bas");
        module.replace(module.find("' allowed in a stock code"), 9, "' alowed");
        WriteAll(copy + "/modGlobals.bas", module);

        ScriptedPrompter prompter;
        TfrmMain w(prompter, nullptr, dir_.filePath("run.ini").toStdString());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.OpenProject(copy + "/Inventory.vbp");
        Settings s = w.Options().CurrentSettings();
        s.SpellingPerform = s.SpellingComments = s.SpellingLiterals = true;
        s.PreviewBeforeSaving = false;
        w.Options().ApplySettings(s);

        QStringList words;
        bool mainDisabled = true;
        // The dialog blocks the processing window: its Cancel is greyed meanwhile, not dead.
        auto* cancel = w.ProcessingWindow().findChild<QPushButton*>("btnCancel");
        bool cancelGreyed = true;
        SpellDialogOf(&w)->OnShown = [&](TfrmSpellDialog& d) {
            words << d.Misspell->text();
            mainDisabled = mainDisabled && !w.isEnabled();
            cancelGreyed = cancelGreyed && w.ProcessingWindow().isVisible() && !cancel->isEnabled();
            if (d.Misspell->text() == "alowed") {
                d.ReplaceWith->setText("allowed");
                d.Button(SpellButton::Replace)->click();
            } else {
                d.Button(SpellButton::IgnoreAll)->click();
            }
        };
        w.Action("btnProcess")->trigger();
        QVERIFY2(words.contains("alowed"), qPrintable(words.join(",")));
        QVERIFY(mainDisabled);
        QVERIFY(cancelGreyed);
        QVERIFY(cancel->isEnabled());
        const std::string out = ReadAll(copy + "/STYLED/modGlobals.bas");
        QVERIFY(out.find("' allowed in a stock code") != std::string::npos);
        QVERIFY(out.find("alowed") == std::string::npos);
        QCOMPARE(prompter.Messages().back().text, std::string("Conversion Completed."));
    }
};

QTEST_MAIN(SpellDialogTest)
#include "spell_dialog.moc"
