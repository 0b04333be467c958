// Fills the viewer's line store with a million source-like lines and reports the time and the memory
// held against the budget of twice the text size plus 32 bytes a line.
#include "view/TBigTextStore.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace kemptor;

int main() {
    constexpr int kLines = 1000000;
    std::vector<std::string> text;
    text.reserve(kLines);
    std::size_t textBytes = 0;
    for (int k = 0; k < kLines; ++k) {
        std::string line;
        switch (k % 5) {
        case 0:
            break;
        case 1:
            line = "    End If";
            break;
        case 2:
            line = "    total" + std::to_string(k) + " = total" + std::to_string(k - 1) + " + 1";
            break;
        case 3:
            line = "Private Sub cmdHandler" + std::to_string(k) + "_Click()  ' handles the click";
            break;
        default:
            line = "        Debug.Print \"line " + std::to_string(k) + "\"";
        }
        textBytes += line.size();
        text.push_back(std::move(line));
    }

    const auto start = std::chrono::steady_clock::now();
    TBigTextStore store;
    for (const auto& line : text)
        store.AddLine(line, clBlack, clWindow);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const std::size_t held = store.MemoryBytes();
    const std::size_t budget = 2 * textBytes + 32 * static_cast<std::size_t>(kLines);
    const bool ok = seconds < 2.0 && held < budget && store.Count() == kLines;
    std::printf("1,000,000 lines (%zu text bytes): filled in %.3f s, %zu bytes held (%.1f bytes/line), "
                "budget %zu  %s\n",
                textBytes, seconds, held, static_cast<double>(held) / kLines, budget, ok ? "ok" : "OVER");
    return ok ? 0 : 1;
}
