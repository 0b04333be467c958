// Times the inputs whose cost once grew with the square of their size, each at two sizes, through
// kemptor-cli, so that the figures of two builds can be set side by side:
//   - one Dim statement of N variables split into N declarations ("Correct multiple variable" on);
//   - a "Copy all files in the original directory" run over a project directory of N files;
//   - loading the settings from an INI file of N megabytes;
//   - the code check of one declaration list of N untyped names before one As;
//   - standard input of N megabytes, past the size limit.
// A cost that grows linearly takes about twice as long at the double size.
//   bench_scaling [KEMPTOR_CLI]   (default: kemptor-cli beside the build, ../src/kemptor-cli)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

std::string cli;
fs::path scratch;

void Write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Runs a shell command in the scratch directory and returns its wall time in seconds.
double Time(const std::string& command) {
    const auto start = Clock::now();
    const std::string line = "cd '" + scratch.string() + "' && KEMPTOR_CONFIG_DIR='" + scratch.string() +
                             "/config' " + command + " >/dev/null 2>&1";
    if (std::system(line.c_str()) == -1)
        std::fprintf(stderr, "cannot run %s\n", command.c_str());
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double DimSplit(int variables) {
    std::string text = "Sub Main()\r\nDim v0 As Long";
    for (int i = 1; i < variables; ++i)
        text += ", v" + std::to_string(i) + (i % 7 == 0 ? " As String" : "");
    text += "\r\nEnd Sub\r\n";
    Write(scratch / "dim.bas", text);
    return Time("'" + cli +
                "' format --set General.MultiVarSplit=1 --set General.CorrectAsProblem=1 dim.bas");
}

// One declaration list of untyped names with the type at its end, which the code check reads as one
// declaration per name, each with the type of the list's end.
double UntypedList(int variables) {
    std::string text = "Sub Main()\r\nDim v0";
    for (int i = 1; i < variables; ++i)
        text += ", v" + std::to_string(i);
    text += " As Long\r\nEnd Sub\r\n";
    Write(scratch / "untyped.bas", text);
    return Time("'" + cli + "' check --set General.MultiVarSplit=1 untyped.bas");
}

// Standard input past the size limit of a file: refused once the limit is read, whatever follows.
double OversizedStdin(int megabytes) {
    return Time("head -c " + std::to_string(megabytes) + "M /dev/zero | tr '\\0' 'x' | '" + cli +
                "' format -");
}

double AllFilesRun(int files) {
    const fs::path project = scratch / ("all" + std::to_string(files));
    fs::create_directories(project);
    Write(project / "P.VBP", "Type=Exe\r\nModule=M; M.BAS\r\n");
    Write(project / "M.BAS", "Attribute VB_Name = \"M\"\r\nSub A()\r\nx = 1\r\nEnd Sub\r\n");
    for (int i = 0; i < files; ++i)
        Write(project / ("DATA" + std::to_string(i) + ".TXT"), "data " + std::to_string(i) + "\r\n");
    const double seconds = Time("'" + cli + "' process --set BackupInformation.BackupAllFiles=1 --output '" +
                                project.string() + ".out' '" + (project / "P.VBP").string() + "'");
    fs::remove_all(project);
    fs::remove_all(project.string() + ".out");
    return seconds;
}

double LargeIni(int megabytes) {
    std::string text = "[General]\r\nMultiVarSplit=1\r\n[Filler]\r\n";
    for (int i = 0; text.size() < static_cast<size_t>(megabytes) << 20; ++i)
        text += "Key" + std::to_string(i) + "=some value that fills the file " + std::to_string(i) + "\r\n";
    Write(scratch / "big.ini", text);
    Write(scratch / "one.bas", "Sub A()\r\nx = 1\r\nEnd Sub\r\n");
    return Time("'" + cli + "' format --ini ./big.ini one.bas");
}

} // namespace

int main(int argc, char** argv) {
    cli = argc > 1
              ? argv[1]
              : (fs::canonical("/proc/self/exe").parent_path().parent_path() / "src/kemptor-cli").string();
    if (!fs::exists(cli)) {
        std::fprintf(stderr, "kemptor-cli not found at %s\n", cli.c_str());
        return 2;
    }
    std::string pattern = (fs::temp_directory_path() / "kemptor-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return 2;
    scratch = pattern;
    fs::create_directories(scratch / "config");

    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each figure as soon as it is known
    std::printf("%-44s %10s %10s\n", "case", "size", "seconds");
    for (int n : {16000, 32000})
        std::printf("%-44s %10d %10.2f\n", "Dim split, variables", n, DimSplit(n));
    for (int n : {64000, 128000})
        std::printf("%-44s %10d %10.2f\n", "code check, untyped names before one As", n, UntypedList(n));
    for (int n : {300, 600})
        std::printf("%-44s %10d %10.2f\n", "format - past the size limit, MB", n, OversizedStdin(n));
    for (int n : {10000, 20000})
        std::printf("%-44s %10d %10.2f\n", "all-files backup, files in the directory", n, AllFilesRun(n));
    for (int n : {5, 10})
        std::printf("%-44s %10d %10.2f\n", "settings from an INI file, MB", n, LargeIni(n));
    fs::remove_all(scratch);
    return 0;
}
