#include "app/ui/ChartWiring.h"

#include "app/ui/TfrmMain.h"
#include "metrics/ui/TfrmChart.h"
#include "metrics/ui/TfrmChartSelector.h"
#include "view/ui/ViewWindows.h"

namespace kemptor {

void WireChartWindows(TfrmMain& main, Prompter& prompter) {
    auto* selector = new TfrmChartSelector(prompter, &main); // lives as long as the main window
    selector->OpenChart = [&main, &prompter](const TChartData& data) {
        auto* window = new TfrmChart(prompter);
        window->Fill(data);
        ShowInClientArea(main.MdiArea(), window, 0.7);
    };
    main.Views.ShowCharts = [selector](TSourceMgt& model) { selector->Execute(&model); };
}

} // namespace kemptor
