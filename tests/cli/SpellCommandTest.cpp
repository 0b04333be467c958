// kemptor-cli spell, and format and process with spell checking on, run as a user runs them.
#include "spell/HunspellSpeller.h"
#include "spell/SpellerOptions.h"
#include "support/CliRunner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace kemptor {
namespace {

using test::CliResult;
using test::RunCli;
using test::TempDir;
using ::testing::HasSubstr;

constexpr const char* kSpellSettings = "--set SpellCheck.SpellingPerform=1 --set "
                                       "SpellCheck.SpellingLiterals=1 --set SpellCheck.SpellingComments=1";

// Misspelled words in comments and literals, beside identifiers, keywords, format strings, escapes,
// words in capitals and words with digits, none of which may be reported.
constexpr const char* kModule =
    "Attribute VB_Name = \"modTypos\"\r\n"
    "Option Explicit\r\n"
    "' Teh handle (HWND) of the mian window; TODO: Win32 only\r\n"
    "Private m_Count As Long\r\n"
    "Public Sub ShowTotal(ByVal nTotal As Long)\r\n"
    "    MsgBox \"The totel is \" & Format$(nTotal, \"#,##0.00\"), vbOKOnly  ' recieve the sum\r\n"
    "    Debug.Print \"Saved: %s\\n\" & \"C:\\Temp\\log.txt\" & \"yyyy-mm-dd\"\r\n"
    "End Sub\r\n";

class SpellCommand : public ::testing::Test {
protected:
    void SetUp() override {
        if (!FindDictionary("en_US"))
            GTEST_SKIP() << "the en_US Hunspell dictionary is not installed";
        dir.Write("modTypos.bas", kModule);
    }
    TempDir dir;
};

TEST_F(SpellCommand, ReportsExactlyTheMisspelledWordsWithTheRightSuggestionFirst) {
    const CliResult r = RunCli(dir, "spell modTypos.bas");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.err, "");
    const std::vector<std::string> expected = {
        "modTypos.bas:3:3: unknown word \"Teh\"; suggestions: The",
        "modTypos.bas:3:28: unknown word \"mian\"; suggestions: main",
        "modTypos.bas:6:17: unknown word \"totel\"; suggestions: total",
        "modTypos.bas:6:71: unknown word \"recieve\"; suggestions: receive",
    };
    std::vector<std::string> lines;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), expected.size()) << r.out;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        EXPECT_THAT(lines[k], ::testing::StartsWith(expected[k])) << r.out;
        // At most five suggestions.
        EXPECT_LE(std::count(lines[k].begin(), lines[k].end(), ','), 4) << lines[k];
    }
}

// A word far longer than any of a language gets no suggestions (their search would take minutes); a
// misspelling repeated on many lines is reported on each with the same suggestions.
TEST_F(SpellCommand, LongWordsGetNoSuggestionsAndRepeatedOnesTheSame) {
    HunspellSpeller speller;
    EXPECT_TRUE(speller.Suggest("recieve" + std::string(HunspellSpeller::kMaxSuggestedWord, 'e')).empty());
    EXPECT_FALSE(speller.Suggest("recieve").empty());
    std::string text;
    for (int i = 0; i < 3; ++i)
        text += "' recieve\r\n";
    dir.Write("long.bas", text);
    const CliResult r = RunCli(dir, "spell long.bas");
    EXPECT_EQ(r.status, 1) << r.err;
    for (int line = 1; line <= 3; ++line)
        EXPECT_THAT(r.out, HasSubstr("long.bas:" + std::to_string(line) +
                                     ":3: unknown word \"recieve\"; suggestions: receive"));
}

TEST_F(SpellCommand, ACleanFileExitsZeroAndAnUnreadableOneTwo) {
    dir.Write("clean.bas", "' Nothing is wrong here\r\nx = \"all fine\"\r\n");
    const CliResult clean = RunCli(dir, "spell clean.bas");
    EXPECT_EQ(clean.status, 0) << clean.err;
    EXPECT_EQ(clean.out, "");
    const CliResult missing = RunCli(dir, "spell missing.bas");
    EXPECT_EQ(missing.status, 2);
    EXPECT_THAT(missing.err, HasSubstr("cannot read missing.bas"));
}

TEST_F(SpellCommand, HonoursTheCustomDictionaryAndTheSpellersOptions) {
    dir.Write("config/CUSTOM.DIC", "mian\nTeh\n");
    dir.Write("config/SPELLER.INI", "[Speller]\r\nSkipUpperCase=0\r\n");
    const CliResult r = RunCli(dir, "spell modTypos.bas");
    EXPECT_EQ(r.out.find("\"mian\""), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("\"Teh\""), std::string::npos) << r.out;
    EXPECT_THAT(r.out, HasSubstr(":3:15: unknown word \"HWND\""));
    EXPECT_THAT(r.out, HasSubstr("\"recieve\""));
}

TEST_F(SpellCommand, WithoutADictionaryItSaysSoAndExitsTwo) {
    dir.Write("config/SPELLER.INI", "[Speller]\r\nLanguage=zz_ZZ\r\n");
    const CliResult r = RunCli(dir, "spell modTypos.bas");
    EXPECT_EQ(r.status, 2);
    EXPECT_THAT(r.err, HasSubstr("error: No Hunspell dictionary for zz_ZZ is installed"));
}

TEST_F(SpellCommand, FormatWithSpellingOnWarnsOfTheSameWordsAndChangesNoWord) {
    const CliResult plain = RunCli(dir, "format modTypos.bas");
    const CliResult spelled = RunCli(dir, std::string("format ") + kSpellSettings + " modTypos.bas");
    const CliResult spell = RunCli(dir, "spell modTypos.bas");
    EXPECT_EQ(spelled.status, 0) << spelled.err;
    EXPECT_EQ(spelled.out, plain.out);
    std::string warnings;
    std::istringstream in(spell.out);
    for (std::string line; std::getline(in, line);)
        warnings += "warning: " + line + "\n";
    EXPECT_EQ(spelled.err, warnings);

    // No dictionary: one message, the file still formatted.
    dir.Write("config/SPELLER.INI", "[Speller]\r\nLanguage=zz_ZZ\r\n");
    const CliResult none =
        RunCli(dir, std::string("format ") + kSpellSettings + " modTypos.bas modTypos.bas");
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, plain.out + plain.out);
    EXPECT_EQ(std::count(none.err.begin(), none.err.end(), '\n'), 1) << none.err;
    EXPECT_THAT(none.err, HasSubstr("warning: No Hunspell dictionary for zz_ZZ"));
}

TEST_F(SpellCommand, ProcessWithSpellingOnWarnsWithTheFilesPathAndWritesWhatAPlainRunWrites) {
    dir.Write("proj/Typos.vbp", "Type=Exe\r\nModule=modTypos; modTypos.bas\r\n");
    dir.Write("proj/modTypos.bas", kModule);
    const CliResult plain = RunCli(dir, "process --output plain proj/Typos.vbp");
    const CliResult spelled =
        RunCli(dir, std::string("process --output spelled ") + kSpellSettings + " proj/Typos.vbp");
    EXPECT_EQ(spelled.status, 0) << spelled.err;
    EXPECT_EQ(dir.Read("spelled/modTypos.bas"), dir.Read("plain/modTypos.bas"));
    EXPECT_THAT(spelled.err,
                HasSubstr("proj/modTypos.bas:6:71: unknown word \"recieve\"; suggestions: receive"));
    EXPECT_EQ(plain.err.find("unknown word"), std::string::npos);
}

} // namespace
} // namespace kemptor
