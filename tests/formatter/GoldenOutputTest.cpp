// The formatter's output, byte for byte, against digests recorded from an earlier build: the sample
// files, the benchmark modules and a corpus of awkward inputs, through the engine under every option set
// of the invariant tests and through kemptor-cli (format, process, compare). Work that is meant to leave
// the output as it is (speed, memory) must keep every digest. A change that is meant to alter the output
// records the digests again:
//   KEMPTOR_GOLDEN_RECORD=1 build/tests/test_formatter --gtest_filter='GoldenOutput.*'
// which rewrites tests/data/golden/*.txt; the diff of those files then shows which outputs moved.
// An entry whose input has changed since it was recorded (a sample edited) is skipped with a note.
#include "FormatTestSupport.h"
#include "OptionVariants.h"
#include "VbSourceGenerator.h"

#include "bench/LegacyModuleGenerator.h"
#include "bench/RealModuleGenerator.h"
#include "formatter/HeaderTemplates.h"
#include "formatter/LineHelpers.h"
#include "platform/TextFile.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace kemptor::test {
namespace {

namespace fs = std::filesystem;

// FNV-1a, 64 bits: the same digest on every system.
std::uint64_t Fnv(std::string_view bytes, std::uint64_t h = 14695981039346656037ULL) {
    for (unsigned char c : bytes)
        h = (h ^ c) * 1099511628211ULL;
    return h;
}

std::string Hex(std::uint64_t value) {
    static const char* const kDigits = "0123456789abcdef";
    std::string s(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4)
        s[static_cast<std::size_t>(i)] = kDigits[value & 15];
    return s;
}

// The engine's output: every line's text and its changed marker.
std::string DigestOf(const TLineList& lines) {
    std::uint64_t h = Fnv(std::to_string(lines.size()));
    for (std::size_t i = 0; i < lines.size(); ++i) {
        h = Fnv(lines[i], h);
        h = Fnv(lines.Changed(i) ? "\n+" : "\n-", h);
    }
    return Hex(h);
}

// The recorded digests of one test: key, input digest, output digest per line.
class GoldenBook {
public:
    explicit GoldenBook(std::string name)
        : path_(std::string(KEMPTOR_TEST_DATA) + "/golden/" + name + ".txt"),
          recording_(std::getenv("KEMPTOR_GOLDEN_RECORD") != nullptr) {
        std::ifstream in(path_, std::ios::binary);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            const std::size_t a = line.find('\t');
            const std::size_t b = line.find('\t', a + 1);
            if (line.empty() || line[0] == '#' || b == std::string::npos)
                continue;
            entries_[line.substr(0, a)] = {line.substr(a + 1, b - a - 1), line.substr(b + 1)};
        }
    }
    ~GoldenBook() {
        if (!recording_)
            return;
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out << "# key\tinput digest\toutput digest (see GoldenOutputTest.cpp)\n";
        for (const auto& [key, digests] : recorded_)
            out << key << '\t' << digests.first << '\t' << digests.second << '\n';
    }

    void Check(const std::string& key, std::string_view input, const std::string& outputDigest) {
        const std::string inputDigest = Hex(Fnv(input));
        if (recording_) {
            recorded_[key] = {inputDigest, outputDigest};
            return;
        }
        const auto found = entries_.find(key);
        if (found == entries_.end()) {
            ADD_FAILURE() << key << ": no recorded output (KEMPTOR_GOLDEN_RECORD=1 records it)";
            return;
        }
        if (found->second.first != inputDigest) {
            std::cout << "note: " << key << ": the input has changed since its output was recorded\n";
            return;
        }
        EXPECT_EQ(found->second.second, outputDigest) << key << ": the output differs from the recorded one";
    }

private:
    std::string path_;
    bool recording_;
    std::map<std::string, std::pair<std::string, std::string>> entries_;
    std::map<std::string, std::pair<std::string, std::string>> recorded_;
};

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string CrLfJoined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text.append(line).append("\r\n");
    return text;
}

// The sample files: path below examples/ and bytes.
std::vector<std::pair<std::string, std::string>> SampleFiles() {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& entry : fs::recursive_directory_iterator(KEMPTOR_EXAMPLES)) {
        const std::string ext = UpperCase(entry.path().extension().string());
        if (entry.is_regular_file() && (ext == ".BAS" || ext == ".FRM" || ext == ".CLS" || ext == ".CTL"))
            files.emplace_back(fs::relative(entry.path(), KEMPTOR_EXAMPLES).generic_string(),
                               ReadBytes(entry.path()));
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The benchmark modules, at a size a test can format under every option set.
std::vector<std::pair<std::string, std::string>> BenchModules() {
    std::ostringstream real;
    bench::WriteRealModule(KEMPTOR_EXAMPLES, real, 6000);
    std::ostringstream legacy;
    bench::LegacyModuleGenerator(legacy, 19960301).Write(6000);
    return {{"real.bas", real.str()}, {"legacy.bas", legacy.str()}};
}

// Inputs that every part of the engine must survive unchanged in behaviour: odd line ends, tabs,
// control and high bytes, very long lines, deep and broken nesting, odd letter case, edge-of-file
// continuations, designer parts, directives.
std::vector<std::pair<std::string, std::string>> AwkwardInputs() {
    std::vector<std::pair<std::string, std::string>> inputs = {
        {"empty.bas", ""},
        {"blank-only.bas", "\r\n   \r\n\t\r\n"},
        {"comment-only.bas", "' only a comment"},
        {"lone-cr.bas", "Sub A()\rIf x Then\ry = 1\rEnd If\rEnd Sub\r"},
        {"lf-no-final-end.bas", "Sub A()\nFor i = 1 To 3\nNext\nEnd Sub"},
        {"tabs.bas", "Sub A()\n\tIf x Then\t' c\n\t\ty = \"a\tb\"\n \t End If\nEnd Sub\n"},
        {"nul.bas", std::string("Sub A()\r\nx = \"a\0b\"\r\nEnd Sub\r\n", 25)},
        {"bom.bas", "\xEF\xBB\xBFOption Explicit\r\nSub A()\r\nx = 1\r\nEnd Sub\r\n"},
        {"high-bytes.bas", "Sub \xC4nderung()\r\n' \xA9 1998 \xFC\xDF\r\nx\xE9 = \"\xE0\xE8\" ' \x80\r\nEnd Sub\r\n"},
        {"control-chars.bas", "Sub A()\r\n\x01x = 1  \x02 \r\n   \x0C\r\ny = 2   \r\nEnd Sub\r\n"},
        {"unbalanced.bas",
         "End If\r\nNext\r\nSub A()\r\nIf a Then\r\nLoop\r\nEnd Sub\r\nEnd Sub\r\nWend\r\nEnd Select\r\n"},
        {"lower-case.bas",
         "option explicit\r\nsub a()\r\nif x then\r\ny = 1\r\nend if\r\nEND SUB\r\nPrivate sub B()\r\n"
         "for i = 1 to 2: next i\r\nend sub\r\n"},
        {"labels.bas",
         "Sub A()\r\nOn Error GoTo Fail\r\n10 x = 1\r\n20 If x Then GoTo 10\r\nRetry: For i = 1 To 3\r\n"
         "Next\r\nIf a Then: b = 1\r\nIf a Then b = 1: c = 2 Else d = 3\r\nExit Sub\r\nFail:\r\n"
         "Resume Next\r\nEnd Sub\r\n"},
        {"continuations.bas",
         "Sub A(ByVal a As Long, _\r\n  ByVal b As Long)\r\nx = 1 + _\r\n2 + _\r\n\r\n3\r\n"
         "' comment goes on _\r\nstill the comment\r\ny = \"_\" & _ ' c\r\nz\r\nEnd Sub\r\nw = 1 _\r\n"},
        {"rem.bas", "Rem top\r\nSub A()\r\nx = 1: Rem after\r\n  Rem indented\r\nREM upper\r\nEnd Sub\r\n"},
        {"option-explicit-late.bas",
         "Attribute VB_Name = \"M\"\r\nSub A()\r\nEnd Sub\r\n Option Explicit\r\nOption Explicit\r\n"},
        {"directives.bas",
         "#If Win32 Then\r\nPrivate Declare Sub S Lib \"k\" ()\r\n#Else\r\nSub S()\r\n#End If\r\nx = 1\r\n"
         "End Sub\r\n#If A Then\r\n#ElseIf B Then\r\n#End If\r\n#End If\r\n"},
        {"ignore-regions.bas",
         "Sub A()\r\n' kemptor: off\r\nIf x Then\r\n   y=1\r\n' kemptor: on\r\nz = 1\r\n"
         "' KEMPTOR : OFF-NEXT-LINE\r\n        w = 2\r\nEnd Sub\r\n"},
        {"form.frm",
         "VERSION 5.00\r\nBegin VB.Form F\r\n   Caption = \"x\"\r\n   Begin VB.CommandButton C\r\n   End\r\n"
         "End\r\nAttribute VB_Name = \"F\"\r\nPrivate Sub C_Click()\r\nEnd\r\nEnd Sub\r\n"},
        {"declarations.bas",
         "Dim a, b As Integer, c\r\nDim s As String ' note\r\nConst A1 = 1, B1 = \"x, y\"\r\n"
         "Global g1%, g2$\r\nDim nVeryLongVariableNameThatIsLong As Long ' no room\r\nType T\r\n"
         "Type As Integer\r\nEnd Type\r\n"},
    };
    std::string deep = "Sub Deep()\r\n";
    for (int i = 0; i < 300; ++i)
        deep += "If a" + std::to_string(i) + " Then\r\n";
    deep += "x = 1 ' the innermost\r\n";
    for (int i = 0; i < 300; ++i)
        deep += "End If\r\n";
    inputs.emplace_back("deep.bas", deep + "End Sub\r\n");
    std::string longLine = "Sub Long()\r\nx = \"" + std::string(20000, 'a') + "\" & y ' " +
                           std::string(5000, 'c') + "\r\nIf a Then b = \"" + std::string(3000, ':') +
                           "\": c = 1\r\nEnd Sub\r\n";
    inputs.emplace_back("long-lines.bas", longLine);
    return inputs;
}

TSourceKind KindOf(const std::string& name) {
    return UpperCase(fs::path(name).extension().string()) == ".FRM" ? skForm : skModule;
}

TLineList FormatBytes(std::string_view bytes, const Settings& settings, TSourceKind kind) {
    ScriptedPrompter prompter;
    ProgressObserver progress;
    TVBSrcFormatter engine(settings, prompter);
    engine.SetDateSource([] { return std::string("12/08/2026"); });
    engine.FormatFile(TLineList::FromText(bytes), "Golden.bas", kind, progress);
    return engine.TakeOutput();
}

void CheckEngine(GoldenBook& book, const std::string& group,
                 const std::vector<std::pair<std::string, std::string>>& inputs) {
    for (const auto& [name, bytes] : inputs)
        for (const Variant& variant : Variants())
            book.Check(group + "/" + name + "/" + variant.name, bytes,
                       DigestOf(FormatBytes(bytes, variant.settings, KindOf(name))));
}

TEST(GoldenOutput, TheEngineGivesTheRecordedOutputOfTheSamplesUnderEveryOptionSet) {
    GoldenBook book("engine-samples");
    CheckEngine(book, "sample", SampleFiles());
}

TEST(GoldenOutput, TheEngineGivesTheRecordedOutputOfTheBenchmarkModulesUnderEveryOptionSet) {
    GoldenBook book("engine-bench");
    CheckEngine(book, "bench", BenchModules());
}

TEST(GoldenOutput, TheEngineGivesTheRecordedOutputOfAwkwardInputsUnderEveryOptionSet) {
    GoldenBook book("engine-awkward");
    CheckEngine(book, "awkward", AwkwardInputs());
}

TEST(GoldenOutput, TheEngineGivesTheRecordedOutputOfGeneratedModulesUnderRandomOptions) {
    GoldenBook book("engine-random");
    std::mt19937 rng(2026);
    for (int k = 0; k < 60; ++k) {
        const Settings settings = RandomSettings(rng);
        for (unsigned sampleNo = 1; sampleNo <= 12; ++sampleNo) {
            const std::string modules[] = {CrLfJoined(SplitProneModule(sampleNo)),
                                           CrLfJoined(VbSourceGenerator(sampleNo).Module())};
            for (int m = 0; m < 2; ++m)
                book.Check("random/" + std::to_string(k) + "/" + (m == 0 ? "split-prone/" : "generated/") +
                               std::to_string(sampleNo),
                           modules[m], DigestOf(FormatBytes(modules[m], settings, skModule)));
        }
    }
}

// Every option that format-real.sh switches on.
const char* const kEveryOption =
    "--set General.IfThenSplit=1 --set General.MultiStatementSplit=1 --set General.MultiVarSplit=1 "
    "--set General.MultiConstSplit=1 --set General.GrpForNextProcessing=1 "
    "--set SingleLineComments.GrpSingleLineComments=3 --set SingleLineComments.SingleLineCommentGroupQty=2 "
    "--set InLineComments.InLineCommentsFixedColumn=30 --set InLineComments.GrpInLineCommentsFixedColUnavail=1 "
    "--set BlankLines.GrpBlankLines=1 --set SubComments.SubLevelCommentsPerform=1 "
    "--set FunctionComments.FunctionLevelCommentsPerform=1";

// The date of today's header comments, which a recorded output cannot hold, stands as "<date>".
std::string WithoutToday(std::string text) {
    const std::string today = SystemShortDate();
    for (std::size_t at = 0; !today.empty() && (at = text.find(today, at)) != std::string::npos;)
        text.replace(at, today.size(), "<date>");
    return text;
}

TEST(GoldenOutput, FormatWritesTheRecordedBytes) {
    GoldenBook book("cli-format");
    TempDir dir;
    dir.Write("empty.ini", "");
    std::vector<std::pair<std::string, std::string>> inputs = SampleFiles();
    for (auto more : {BenchModules(), AwkwardInputs()})
        inputs.insert(inputs.end(), more.begin(), more.end());
    int n = 0;
    for (const auto& [name, bytes] : inputs) {
        const std::string file = "in" + std::to_string(n++) + fs::path(name).extension().string();
        dir.Write(file, bytes);
        for (const bool every : {false, true}) {
            const CliResult result =
                RunCli(dir, std::string("format --ini empty.ini --tab-width 4 ") + (every ? kEveryOption : "") +
                                " " + file);
            book.Check("format/" + name + (every ? "/every option" : "/defaults"), bytes,
                       Hex(Fnv(WithoutToday(result.out) + "\nexit " + std::to_string(result.status))));
        }
    }
}

TEST(GoldenOutput, ProcessWritesTheRecordedFiles) {
    GoldenBook book("cli-process");
    for (const char* project : {"vbp/Inventory.vbp", "mak/Stock.mak"}) {
        TempDir dir;
        fs::copy(KEMPTOR_EXAMPLES, dir.Root() / "examples", fs::copy_options::recursive);
        const fs::path projectFile = dir.Root() / "examples" / project;
        const CliResult result =
            RunCli(dir, "process --set General.PreviewBeforeSaving=0 --output " + dir.Path() + "out " +
                            projectFile.string());
        ASSERT_EQ(0, result.status) << result.err;
        std::vector<fs::path> written;
        for (const auto& entry : fs::recursive_directory_iterator(dir.Root() / "out")) {
            const std::string ext = UpperCase(entry.path().extension().string());
            if (entry.is_regular_file() && (ext == ".BAS" || ext == ".FRM" || ext == ".CLS" || ext == ".CTL"))
                written.push_back(entry.path());
        }
        std::sort(written.begin(), written.end());
        for (const fs::path& file : written) {
            const std::string relative = fs::relative(file, dir.Root() / "out").generic_string();
            book.Check(std::string("process/") + project + "/" + relative, ReadBytes(projectFile),
                       Hex(Fnv(WithoutToday(ReadBytes(file)))));
        }
    }
}

TEST(GoldenOutput, CompareWritesTheRecordedRows) {
    GoldenBook book("cli-compare");
    TempDir dir;
    std::vector<std::pair<std::string, std::string>> inputs = SampleFiles();
    for (auto more : {BenchModules(), AwkwardInputs()})
        inputs.insert(inputs.end(), more.begin(), more.end());
    int n = 0;
    for (const auto& [name, bytes] : inputs) {
        // Each input against its formatted text, with every option on: rows of every kind.
        const std::string left = dir.Write("left" + std::to_string(n) + ".bas", bytes);
        const TLineList formatted = FormatBytes(bytes, EveryOption(), KindOf(name));
        const std::string right = dir.Write("right" + std::to_string(n++) + ".bas", CrLfJoined(formatted.Texts()));
        const CliResult result = RunCli(dir, "compare " + left + " " + right);
        book.Check("compare/" + name, bytes, Hex(Fnv(result.out + "\nexit " + std::to_string(result.status))));
    }
}

} // namespace
} // namespace kemptor::test
