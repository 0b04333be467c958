#include "platform/Profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/System.h"
#include "support/TempDir.h"

namespace kemptor {
namespace {

using test::TempDir;

class ProfileTest : public ::testing::Test {
protected:
    std::string Ini(std::string_view bytes) { return dir.Write("test.ini", bytes); }
    std::string Str(const std::string& section, const std::string& key, const std::string& def = "<none>") {
        return GetPrivateProfileString(section, key, def, dir.Path() + "test.ini");
    }
    int Int(const std::string& section, const std::string& key, int def = -99) {
        return GetProfileInteger(section, key, def, dir.Path() + "test.ini");
    }
    bool Write(const std::string& section, const std::string& key, const std::string& value) {
        return WritePrivateProfileString(section, key, value, dir.Path() + "test.ini");
    }
    TempDir dir;
};

TEST_F(ProfileTest, ReadsNamesCaseInsensitivelyAndTrimsValues) {
    Ini("[General]\r\n  previewBeforeSaving = 0 \r\nUserName=\"  Ann  \"\r\n[other]\r\nX=1\r\n");
    EXPECT_EQ(Str("GENERAL", "PreviewBeforeSaving"), "0");
    EXPECT_EQ(Str("general", "username"), "  Ann  ") << "one pair of quotes is not part of the value";
    EXPECT_EQ(Str("Other", "x"), "1");
    EXPECT_EQ(Str("General", "X"), "<none>") << "a key belongs to its own section only";
}

TEST_F(ProfileTest, AbsentFileSectionOrKeyGivesTheDefault) {
    EXPECT_EQ(Str("General", "Key", "d"), "d");
    EXPECT_EQ(Int("General", "Key", 7), 7);
    Ini("[General]\nKey=1\n");
    EXPECT_EQ(Str("Missing", "Key", "d"), "d");
    EXPECT_EQ(Str("General", "Other", "d"), "d");
}

TEST_F(ProfileTest, IntegersFollowTheHexAndDecimalRule) {
    Ini("[S]\nhex=0x10\nHEX=0X1f\nbare=0x\ndec=-12\nplus=+3\nletters=abc\nmixed=12abc\nhuge=99999999999\n"
        "allbits=0xFFFFFFFF\ntoolong=0x100000000\nempty=\n");
    EXPECT_EQ(Int("S", "hex"), 16);
    EXPECT_EQ(Int("S", "bare"), -99) << "\"0x\" alone is not longer than 2 characters and not decimal";
    EXPECT_EQ(Int("S", "dec"), -12);
    EXPECT_EQ(Int("S", "plus"), 3);
    EXPECT_EQ(Int("S", "letters"), -99);
    EXPECT_EQ(Int("S", "mixed"), -99);
    EXPECT_EQ(Int("S", "huge"), -99);
    EXPECT_EQ(Int("S", "allbits"), -1);
    EXPECT_EQ(Int("S", "toolong"), -99);
    EXPECT_EQ(Int("S", "empty"), -99);
    EXPECT_EQ(GetProfileInteger("s", "HEX", 0, dir.Path() + "test.ini"), 16) << "first occurrence wins";
}

TEST_F(ProfileTest, BooleansAreIntegersWhereAnyNonZeroIsTrue) {
    Ini("[S]\ntwo=2\nzero=0\nword=yes\n");
    const std::string f = dir.Path() + "test.ini";
    EXPECT_TRUE(GetProfileBool("S", "two", false, f));
    EXPECT_FALSE(GetProfileBool("S", "zero", true, f));
    EXPECT_TRUE(GetProfileBool("S", "word", true, f)) << "unreadable number keeps the default";
    EXPECT_FALSE(GetProfileBool("S", "absent", false, f));
}

TEST_F(ProfileTest, StringsAreCutAt1023Characters) {
    Ini("[S]\nlong=" + std::string(5000, 'a') + "\n");
    EXPECT_EQ(Str("S", "long").size(), 1023u);
}

TEST_F(ProfileTest, GarbageAndRepeatedSectionsAreTolerated) {
    Ini("junk before any section\n=novalue\n[A]\n; comment=1\nx=1\n\xff\xfe "
        "binary\n[B]\nx=2\n[a]\ny=3\nx=4\n[broken\nz=5\n");
    EXPECT_EQ(Str("A", "x"), "1");
    EXPECT_EQ(Str("A", "y"), "3") << "a repeated section is read as one";
    EXPECT_EQ(Str("A", "; comment"), "<none>");
    EXPECT_EQ(Str("broken", "z"), "5") << "a header without ']' still names its section";
    ASSERT_TRUE(Write("a", "Y", "30"));
    EXPECT_EQ(Str("A", "y"), "30");
    EXPECT_NE(dir.Read("test.ini").find("[a]\ny=30\nx=4\n"), std::string::npos) << dir.Read("test.ini");
}

TEST_F(ProfileTest, WriteChangesOneLineAndKeepsEveryOtherByte) {
    const std::string original = "; settings\n[General]\nKeep = as is  \nMultiVarSplit=0\n\n[Indents]\nA=1\n";
    Ini(original);
    ASSERT_TRUE(Write("GENERAL", "multivarsplit", "1"));
    std::string expected = original;
    expected.replace(expected.find("MultiVarSplit=0"), 15, "MultiVarSplit=1");
    EXPECT_EQ(dir.Read("test.ini"), expected) << "the stored key name and the LF line ends stay";

    ASSERT_TRUE(Write("General", "NewKey", "v"));
    expected.insert(expected.find("\n\n[Indents]") + 1, "NewKey=v\n");
    EXPECT_EQ(dir.Read("test.ini"), expected) << "a new key goes after the last line of its section";

    ASSERT_TRUE(Write("Fresh", "K", "9"));
    EXPECT_EQ(dir.Read("test.ini"), expected + "\n[Fresh]\nK=9\n");
}

TEST_F(ProfileTest, NewKeyInALastSectionWithoutFinalLineEnd) {
    Ini("[S]\r\na=1");
    ASSERT_TRUE(Write("S", "b", "2"));
    EXPECT_EQ(dir.Read("test.ini"), "[S]\r\na=1\r\nb=2\r\n");
}

TEST_F(ProfileTest, FirstWriteCreatesTheFileAndTheSettingsDirectory) {
    const char* saved = std::getenv("KEMPTOR_CONFIG_DIR");
    std::string savedValue = saved ? saved : "";
    test::SetEnv("KEMPTOR_CONFIG_DIR", dir.Path() + "deep/config");
    EXPECT_EQ(SettingsDirectory(), dir.Path() + "deep/config/");
    EXPECT_EQ(GetPrivateProfileString("S", "K", "none", kSettingsFileName), "none");
    EXPECT_TRUE(WritePrivateProfileString("S", "K", "v", kSettingsFileName));
    EXPECT_EQ(dir.Read("deep/config/VBKEMPT3.INI"), "[S]\r\nK=v\r\n");
    EXPECT_EQ(GetPrivateProfileString("s", "k", "none", "vbkempt3.ini"), "v") << "file name case is free";
    if (saved)
        test::SetEnv("KEMPTOR_CONFIG_DIR", savedValue);
    else
        test::UnsetEnv("KEMPTOR_CONFIG_DIR");
}

TEST_F(ProfileTest, RefusedWritesReportFailureAndChangeNothing) {
    dir.Write("isdir/x", "");
    EXPECT_FALSE(WritePrivateProfileString("S", "K", "v", dir.Path() + "isdir"));
    EXPECT_FALSE(WritePrivateProfileString("S", "K", "v", dir.Path() + "no/such/dir/x.ini"));
    Ini("[S]\nK=1\n");
    EXPECT_FALSE(Write("S", "", "v"));
    EXPECT_FALSE(Write("S", "a=b", "v"));
    EXPECT_FALSE(Write("S]", "K", "v"));
    EXPECT_EQ(dir.Read("test.ini"), "[S]\nK=1\n");
    EXPECT_EQ(UnableToWriteMessage("VBKEMPT3.INI"), "Unable to write to VBKEMPT3.INI");
}

TEST_F(ProfileTest, ALineBreakInAValueCannotAddLines) {
    Ini("[S]\nK=1\n");
    ASSERT_TRUE(Write("S", "K", "a\r\n[T]\nX=1"));
    EXPECT_EQ(Str("T", "X"), "<none>");
    EXPECT_EQ(Str("S", "K"), "a  [T] X=1");
}

TEST(ProfileInteger, ParsesWholeTextsOnly) {
    EXPECT_EQ(ParseProfileInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseProfileInteger("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseProfileInteger("2147483648"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("0xg1"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger("-"), std::nullopt);
    EXPECT_EQ(ParseProfileInteger(" 42 "), 42);
}

} // namespace
} // namespace kemptor

namespace kemptor {
namespace {

// Settings are read key by key from a file parsed once; a file rewritten in place at once after a read
// (the same size, within the same tick of the file system's clock) must still be read anew.
TEST(ProfileReads, SeeAFileRewrittenInPlaceAtOnce) {
    test::TempDir dir;
    const std::string path = dir.Write("s.ini", "[A]\r\nk=1\r\n");
    EXPECT_EQ(GetProfileInteger("A", "k", 0, path), 1);
    dir.Write("s.ini", "[A]\r\nk=2\r\n");
    EXPECT_EQ(GetProfileInteger("A", "k", 0, path), 2);
    EXPECT_TRUE(WritePrivateProfileString("a", "K", "3", path));
    EXPECT_EQ(GetPrivateProfileString("A", "k", "", path), "3");
    std::filesystem::remove(path);
    EXPECT_EQ(GetProfileInteger("A", "k", 0, path), 0);
}

} // namespace
} // namespace kemptor
