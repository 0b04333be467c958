// Fills the viewer's line store with a million source-like lines and reports the time and the memory
// held against the budget of twice the text size plus 32 bytes a line.
#include "view/TBigTextStore.h"

#ifdef KEMPTOR_BENCH_UI
#include "view/ui/TBigText.h"

#include <QApplication>
#endif

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

using namespace kemptor;

#ifdef KEMPTOR_BENCH_UI
// Fills the widget, then pages down once and counts the rows the paint drew.
bool BenchWidget(const std::vector<std::string>& text) {
    kemptor::TBigText view;
    view.resize(800, 600);
    view.show();
    QCoreApplication::processEvents();
    const auto start = std::chrono::steady_clock::now();
    for (const auto& line : text)
        view.AddLine(line, clBlack, clWindow, false);
    view.RecalcRange();
    const double fill = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    view.viewport()->repaint();
    const int fullRows = view.LastPaintedRows();
    const auto scrollStart = std::chrono::steady_clock::now();
    view.ScrollView(Qt::Vertical, kemptor::TBigText::TScrollCode::LineDown);
    QCoreApplication::processEvents();
    const double scroll =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - scrollStart).count();
    const bool ok = fill < 2.0 && view.Count() == static_cast<int>(text.size());
    std::printf("TBigText widget: filled in %.3f s; a full paint draws %d rows, a line scroll %d row(s) in "
                "%.2f ms  %s\n",
                fill, fullRows, view.LastPaintedRows(), scroll * 1000, ok ? "ok" : "SLOW");
    return ok;
}
#endif

int main(int argc, char** argv) {
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
#ifdef KEMPTOR_BENCH_UI
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool widgetOk = BenchWidget(text);
    return ok && widgetOk ? 0 : 1;
#else
    (void)argc;
    (void)argv;
    return ok ? 0 : 1;
#endif
}
