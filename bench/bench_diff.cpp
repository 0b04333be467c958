// Times the visual comparison on large texts and, on the same pair of files, GNU diff when it is installed.
//   bench_diff            the standard cases
//   bench_diff LEFT RIGHT one pair of files
#include "view/TVisDiff.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

using kemptor::TVisDiff;
using Lines = std::vector<std::string>;
using Clock = std::chrono::steady_clock;

namespace {

Lines ReadLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    Lines lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
    }
    return lines;
}

void WriteLines(const std::string& path, const Lines& lines) {
    std::ofstream out(path, std::ios::binary);
    for (const auto& line : lines)
        out << line << "\r\n";
}

// A Visual Basic-like source: numbered statements among the lines every module repeats.
Lines SourceText(int count, std::mt19937& rng) {
    static const char* repeated[] = {"",         "    End If", "    Next i",  "End Sub",
                                     "    Else", "",           "    Exit Sub"};
    std::uniform_int_distribution<int> pick(0, 9);
    Lines lines;
    lines.reserve(static_cast<size_t>(count));
    for (int k = 0; lines.size() < static_cast<size_t>(count); ++k) {
        const int p = pick(rng);
        if (p < 3)
            lines.push_back(repeated[pick(rng) % 7]);
        else if (p < 5)
            lines.push_back("Private Sub Handler" + std::to_string(k % 5000) + "_Click()");
        else
            lines.push_back("    total" + std::to_string(k % 700) + " = total" + std::to_string(k) + " + " +
                            std::to_string(k % 13));
    }
    return lines;
}

Lines ScatteredEdits(const Lines& text, int edits, std::mt19937& rng) {
    Lines out = text;
    std::uniform_int_distribution<size_t> where(0, text.size() - 1);
    for (int e = 0; e < edits; ++e) {
        const size_t at = where(rng) % out.size();
        switch (e % 3) {
        case 0:
            out[at] = "    ' edited " + std::to_string(e);
            break;
        case 1:
            out.erase(out.begin() + static_cast<long>(at));
            break;
        default:
            out.insert(out.begin() + static_cast<long>(at), "    Debug.Print " + std::to_string(e));
        }
    }
    return out;
}

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

double TimeCompare(const std::string& left, const std::string& right, size_t* rowCount) {
    const auto start = Clock::now();
    const Lines a = ReadLines(left);
    const Lines b = ReadLines(right);
    const auto rows = TVisDiff::Rows(a, b);
    *rowCount = rows.size();
    return Seconds(start);
}

double TimeGnuDiff(const std::string& left, const std::string& right) {
    const std::string command = "diff '" + left + "' '" + right + "' > /dev/null 2>&1";
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    const double seconds = Seconds(start);
    return status == -1 || WEXITSTATUS(status) > 1 ? -1.0 : seconds;
}

bool RunCase(const char* name, const std::string& left, const std::string& right, double limit,
             bool againstDiff) {
    size_t rows = 0;
    double best = 1e9, bestDiff = 1e9;
    for (int round = 0; round < 3; ++round) {
        best = std::min(best, TimeCompare(left, right, &rows));
        if (againstDiff)
            bestDiff = std::min(bestDiff, TimeGnuDiff(left, right));
    }
    std::printf("%-34s rows %7zu  compare %7.3f s", name, rows, best);
    bool ok = best < limit;
    if (againstDiff && bestDiff >= 0) {
        std::printf("  GNU diff %7.3f s  ratio %5.2f", bestDiff, best / bestDiff);
        ok = ok && best <= 3 * bestDiff;
    }
    std::printf("  %s\n", ok ? "ok" : "SLOW");
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3)
        return RunCase("files", argv[1], argv[2], 1.0, true) ? 0 : 1;

    const auto dir = std::filesystem::temp_directory_path() / "kemptor-bench-diff";
    std::filesystem::create_directories(dir);
    auto path = [&dir](const char* name) { return (dir / name).string(); };
    std::mt19937 rng(42);
    bool ok = true;

    const Lines source = SourceText(100000, rng);
    WriteLines(path("big-left.bas"), source);
    WriteLines(path("big-right.bas"), ScatteredEdits(source, 300, rng));
    ok &=
        RunCase("100,000 lines, 300 scattered edits", path("big-left.bas"), path("big-right.bas"), 1.0, true);

    Lines left, right;
    for (int k = 0; k < 20000; ++k) {
        left.push_back("Dim left" + std::to_string(k));
        right.push_back("Dim right" + std::to_string(k));
    }
    WriteLines(path("apart-left.bas"), left);
    WriteLines(path("apart-right.bas"), right);
    ok &= RunCase("20,000 lines sharing no line", path("apart-left.bas"), path("apart-right.bas"), 1.0, true);

    // Unrelated modules that share only their blank lines: each match fixes one blank line, and the
    // rest of both texts is searched again below it.
    Lines leftBlanks, rightBlanks;
    for (int k = 0; k < 10000; ++k) {
        leftBlanks.insert(leftBlanks.end(), {"", "Dim left" + std::to_string(k)});
        rightBlanks.insert(rightBlanks.end(), {"", "Dim right" + std::to_string(k)});
    }
    WriteLines(path("blanks-left.bas"), leftBlanks);
    WriteLines(path("blanks-right.bas"), rightBlanks);
    ok &= RunCase("20,000 lines sharing only blanks", path("blanks-left.bas"), path("blanks-right.bas"), 1.0,
                  true);

    WriteLines(path("same-left.bas"), Lines(20000, "    End If"));
    WriteLines(path("same-right.bas"), Lines(19000, "    End If"));
    ok &= RunCase("one line repeated (20,000/19,000)", path("same-left.bas"), path("same-right.bas"), 1.0,
                  true);

    std::filesystem::remove_all(dir);
    return ok ? 0 : 1;
}
