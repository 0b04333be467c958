// The desktop program with a project that brings its own kemptor.ini: Begin Processing formats with the
// project's formatting settings, the Options dialog says so, and the user's own choices stay the user's.
#include "app/ui/TfrmMain.h"
#include "platform/Profile.h"
#include "platform/Prompter.h"
#include "settings/ui/TfrmOptions.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <fstream>

using namespace kemptor;

class ProjectSettingsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString WriteProject(const QString& folder) {
        QDir().mkpath(dir_.filePath(folder));
        std::ofstream(dir_.filePath(folder + "/P.vbp").toStdString(), std::ios::binary)
            << "Module=M; M.bas\r\n";
        std::ofstream(dir_.filePath(folder + "/M.bas").toStdString(), std::ios::binary)
            << "Sub A()\r\nEnd Sub\r\n";
        return dir_.filePath(folder + "/P.vbp");
    }

private slots:
    void AProjectSettingsFileDecidesTheFormattingOfARun() {
        const QString vbp = WriteProject("with");
        std::ofstream(dir_.filePath("with/kemptor.ini").toStdString(), std::ios::binary)
            << "[Indents]\r\nForNextIndent=2\r\n[BackupInformation]\r\nBackupNewCodeDirectory=/elsewhere/"
               "\r\n";
        const std::string ini = dir_.filePath("user.ini").toStdString();
        WritePrivateProfileString("Indents", "ForNextIndent", "7", ini);
        WritePrivateProfileString("Indents", "DoLoopIndent", "6", ini);
        WritePrivateProfileString("BackupInformation", "BackupNewCodeDirectory", "OUT", ini);

        ScriptedPrompter prompter;
        TfrmMain w(prompter, nullptr, ini);
        w.OpenProject(vbp);
        const Settings s = w.SettingsInForce();
        QCOMPARE(s.ForNextIndent, 2); // the project's
        QCOMPARE(s.DoLoopIndent, 4);  // the project file's default, not the user's 6
        QCOMPARE(s.BackupNewCodeDirectory, std::string("OUT")); // the user's: not a formatting setting

        auto* label = w.findChild<TfrmOptions*>()->findChild<QLabel*>("lblProjectSettings");
        QVERIFY(label && !label->isHidden());
        QVERIFY(label->text().contains("kemptor.ini"));

        w.OpenProject(WriteProject("without"));
        QCOMPARE(w.SettingsInForce().ForNextIndent, 7);
        QVERIFY(label->isHidden());
    }
};

QTEST_MAIN(ProjectSettingsTest)
#include "project_settings_test.moc"
