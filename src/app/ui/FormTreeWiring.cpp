#include "app/ui/FormTreeWiring.h"

#include "app/ui/TfrmMain.h"
#include "formtree/ui/TfrmFormTree.h"
#include "view/ui/ViewWindows.h"

namespace kemptor {

void WireFormTree(TfrmMain& main, DebugOutput* debug) {
    main.Views.BuildFormTree = [&main, debug](TSourceEntry& entry) -> QWidget* {
        auto* window = new TfrmFormTree(debug);
        window->Build(main.ProjectName(), entry);
        return ShowInClientArea(main.MdiArea(), window, 0.9);
    };
}

} // namespace kemptor
