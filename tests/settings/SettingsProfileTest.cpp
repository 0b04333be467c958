#include "settings/SettingsProfile.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace kemptor {
namespace {

using test::TempDir;

class SettingsProfileTest : public ::testing::Test {
protected:
    std::string Ini(std::string_view text) { return dir.Write("VBKEMPT3.INI", text); }
    std::string File() const { return dir.Path() + "VBKEMPT3.INI"; }
    TempDir dir;
};

TEST_F(SettingsProfileTest, NoFileKeepsTheDefaults) {
    Settings s;
    LoadSettings(s, File());
    EXPECT_EQ(s, Settings{});
}

TEST_F(SettingsProfileTest, SpinValuesAreClampedAndBadNumbersKeepTheCurrentValue) {
    Ini("[Indents]\nIfThenElseIndent=99\nDoLoopIndent=0x10\nForNextIndent=abc\nCaseCodeIndent=-4\n"
        "[General]\nAlignDimAsGroupQty=0\nGrpForNextProcessing=9\n[InLineComments]\nGrpInLineComments=-1\n");
    Settings s;
    s.ForNextIndent = 7;
    LoadSettings(s, File());
    EXPECT_EQ(s.IfThenElseIndent, 80);
    EXPECT_EQ(s.AlignDimAsGroupQty, 1);
    EXPECT_EQ(s.DoLoopIndent, 16);
    EXPECT_EQ(s.ForNextIndent, 7) << "an unreadable number leaves the current value";
    EXPECT_EQ(s.CaseCodeIndent, 0);
    EXPECT_EQ(s.GrpForNextProcessing, 2) << "a choice stays within its items";
    EXPECT_EQ(s.GrpInLineComments, 0);
    EXPECT_EQ(s.SelectCaseIndent, 4) << "a missing key leaves the current value";
}

TEST_F(SettingsProfileTest, ABooleanStoredAsTwoReadsTrueAndIsWrittenBackAsOne) {
    Ini("[Indents]\nCodeIndentPerform=0\n[General]\nPreviewBeforeSaving=2\n");
    Settings s;
    LoadSettings(s, File());
    EXPECT_FALSE(s.CodeIndentPerform);
    EXPECT_TRUE(s.PreviewBeforeSaving);
    ASSERT_EQ(SaveSettings(s, File()), std::nullopt);
    EXPECT_EQ(GetPrivateProfileString("General", "PreviewBeforeSaving", "", File()), "1");
    EXPECT_EQ(GetPrivateProfileString("Indents", "CodeIndentPerform", "", File()), "0");
}

TEST_F(SettingsProfileTest, RadioGroupsLoadLikeTheDialogButtons) {
    Ini("[BackupInformation]\nBackupOnlyNewFiles=0\nBackupMAKFiles=1\nBackupAllFiles=1\n");
    Settings s;
    LoadSettings(s, File());
    EXPECT_FALSE(s.BackupOnlyNewFiles);
    EXPECT_FALSE(s.BackupMAKFiles) << "the later button wins";
    EXPECT_TRUE(s.BackupAllFiles);

    Ini("[BackupInformation]\nBackupOnlyNewFiles=0\nBackupMAKFiles=0\nBackupAllFiles=0\n");
    LoadSettings(s, File());
    EXPECT_FALSE(s.BackupOnlyNewFiles || s.BackupMAKFiles || s.BackupAllFiles) << "none selected";

    Ini("[BackupInformation]\nBackupOnlyNewFiles=1\n[SubComments]\nSubLevelCommentsBeforeProcedure=1\n");
    Settings t;
    LoadSettings(t, File());
    EXPECT_TRUE(t.BackupOnlyNewFiles);
    EXPECT_FALSE(t.BackupMAKFiles) << "selecting a button clears the default one";
    EXPECT_TRUE(t.SubLevelCommentsBeforeProcedure);
    EXPECT_FALSE(t.SubLevelCommentsAfterProcedure);
    EXPECT_TRUE(t.FunctionLevelCommentsAfterProcedure) << "groups are independent";
}

TEST_F(SettingsProfileTest, TextsLoadAsStoredUpTo1023Characters) {
    Ini("[SpecialComments]\nSpecialRemoveCommentCharacters=!!!!!!!!\n[UserInformation]\nUserName=" +
        std::string(2000, 'n') + "\n");
    Settings s;
    LoadSettings(s, File());
    EXPECT_EQ(s.SpecialRemoveCommentCharacters, "!!!!!!!!") << "the typing limit does not cut a stored text";
    EXPECT_EQ(s.UserName.size(), 1023u);
}

TEST_F(SettingsProfileTest, SavingWritesEveryKeyAndLoadingGivesTheSameValues) {
    Settings s;
    s.IfThenElseIndent = 2;
    s.BackupAllFiles = true;
    s.BackupMAKFiles = false;
    s.UserName = "Ann Lee";
    s.BackupNewCodeDirectory = "D:\\OUT\\";
    s.GrpBlankLines = 1;
    ASSERT_EQ(SaveSettings(s, File()), std::nullopt);
    for (const auto& def : SettingsCatalogue())
        EXPECT_TRUE(ReadProfileValue(def.section, def.key, File())) << def.key;
    Settings loaded;
    loaded.TabWidth = s.TabWidth;
    LoadSettings(loaded, File());
    EXPECT_EQ(loaded, s);
    EXPECT_EQ(SettingValueText(s, *FindSetting("BackupAllFiles")), "1");
}

TEST_F(SettingsProfileTest, ARefusedSaveReturnsTheMessage) {
    dir.Write("ro/x", "");
    EXPECT_EQ(SaveSettings(Settings{}, dir.Path() + "ro"), "Unable to write to " + dir.Path() + "ro");
}

TEST(SettingOverride, AppliesValuesTheWayTheDialogTakesThem) {
    Settings s;
    EXPECT_EQ(ApplySettingOverride(s, "Indents.IfThenElseIndent=99"), std::nullopt);
    EXPECT_EQ(s.IfThenElseIndent, 80);
    EXPECT_EQ(ApplySettingOverride(s, "indents.doloopindent=0x2"), std::nullopt);
    EXPECT_EQ(s.DoLoopIndent, 2);
    EXPECT_EQ(ApplySettingOverride(s, "General.MultiVarSplit=yes"), std::nullopt);
    EXPECT_TRUE(s.MultiVarSplit);
    EXPECT_EQ(ApplySettingOverride(s, "BackupInformation.BackupOnlyNewFiles=1"), std::nullopt);
    EXPECT_TRUE(s.BackupOnlyNewFiles);
    EXPECT_FALSE(s.BackupMAKFiles) << "setting a radio button clears its group";
    EXPECT_EQ(ApplySettingOverride(s, "SpecialComments.SpecialRemoveCommentCharacters=abcdefgh"),
              std::nullopt);
    EXPECT_EQ(s.SpecialRemoveCommentCharacters, "abcde");
    EXPECT_EQ(ApplySettingOverride(s, "BackupInformation.BackupNewCodeDirectory=C:\\A=B\\"), std::nullopt);
    EXPECT_EQ(s.BackupNewCodeDirectory, "C:\\A=B\\");
    EXPECT_EQ(ApplySettingOverride(s, "General.GrpForNextProcessing=5"), std::nullopt);
    EXPECT_EQ(s.GrpForNextProcessing, 2);

    const Settings before = s;
    EXPECT_NE(ApplySettingOverride(s, "General.NoSuchKey=1"), std::nullopt);
    EXPECT_NE(ApplySettingOverride(s, "Indents.MultiVarSplit=1"), std::nullopt) << "wrong section";
    EXPECT_NE(ApplySettingOverride(s, "Indents.DoLoopIndent=four"), std::nullopt);
    EXPECT_NE(ApplySettingOverride(s, "General.MultiVarSplit=maybe"), std::nullopt);
    EXPECT_NE(ApplySettingOverride(s, "DoLoopIndent=4"), std::nullopt);
    EXPECT_NE(ApplySettingOverride(s, "Indents.DoLoopIndent"), std::nullopt);
    // A text the engine may write into a file never carries a line end there.
    EXPECT_EQ(ApplySettingOverride(s, "UserInformation.UserName=Bob\r\nKill \"C:\\*.*\""),
              "setting \"UserName\" cannot hold a line break");
    EXPECT_NE(ApplySettingOverride(s, "SingleLineComments.SingleLineCommentBlockCharacters=-\n"),
              std::nullopt);
    EXPECT_NE(ApplySettingOverride(s, "UserInformation.UserCompany=A\rB"), std::nullopt);
    EXPECT_EQ(s, before) << "a refused override changes nothing";
}

TEST_F(SettingsProfileTest, RecentFilesReadTopFirstAndWriteOnlyTheirOwnKeys) {
    Ini("[RecentFiles]\nItem3=C:\\VB\\THREE.MAK\nItem5=Nothing Found\n");
    EXPECT_EQ(ReadRecentFiles(File()), (std::vector<std::string>{"C:\\VB\\THREE.MAK"}));
    ASSERT_EQ(WriteRecentFiles({"C:\\VB\\THREE.MAK"}, File()), std::nullopt);
    EXPECT_EQ(GetPrivateProfileString("RecentFiles", "Item1", "", File()), "C:\\VB\\THREE.MAK");
    EXPECT_EQ(GetPrivateProfileString("RecentFiles", "Item3", "", File()), "C:\\VB\\THREE.MAK")
        << "keys beyond the list are left as they are";

    Ini("[RecentFiles]\nItem1=/a.vbp\nItem2=/b.vbp\nItem6=/f.vbp\n");
    EXPECT_EQ(ReadRecentFiles(File()), (std::vector<std::string>{"/a.vbp", "/b.vbp", "/f.vbp"}));
    ASSERT_EQ(WriteRecentFiles({"1", "2", "3", "4", "5", "6", "7"}, File()), std::nullopt);
    EXPECT_EQ(ReadRecentFiles(File()).size(), 6u);
    EXPECT_EQ(ReadProfileValue("RecentFiles", "Item7", File()), std::nullopt);

    EXPECT_EQ(WriteRecentFiles({}, dir.Path() + "none.ini"), std::nullopt);
    EXPECT_EQ(dir.Read("none.ini"), "") << "an empty menu writes nothing";
}

TEST_F(SettingsProfileTest, PlacementRoundTripsAndNeedsAWidth) {
    EXPECT_FALSE(ReadWindowPlacement(File()).Usable());
    WindowPlacementRecord p{2, -1, -1, -8, -8, 10, 20, 810, 620};
    ASSERT_EQ(WriteWindowPlacement(p, File()), std::nullopt);
    EXPECT_EQ(ReadWindowPlacement(File()), p);
    EXPECT_TRUE(p.Usable());
    EXPECT_EQ(GetPrivateProfileString("frmMain", "PlaceNormPosR", "", File()), "810");
}

TEST_F(SettingsProfileTest, TabStopsComeFromVbIniWithinReason) {
    const std::string vbIni = dir.Path() + "VB.INI";
    EXPECT_EQ(ReadTabStops(vbIni), 4);
    for (auto [stored, expected] :
         {std::pair{"8", 8}, {"0", 4}, {"-3", 4}, {"abc", 4}, {"0x2", 2}, {"500", 4}}) {
        dir.Write("VB.INI", std::string("[Visual Basic]\r\nTabStops=") + stored + "\r\n");
        EXPECT_EQ(ReadTabStops(vbIni), expected) << stored;
    }
}

} // namespace
} // namespace kemptor
