#include "app/ui/CommentorWiring.h"

#include "app/ui/TfrmMain.h"
#include "commentor/ui/TfrmCommentor.h"
#include "project/TSourceMgt.h"

namespace kemptor {

void WireCommentor(TfrmMain& window, Prompter& prompter) {
    window.Views.ShowCommentor = [&window, &prompter](TSourceEntry& entry) {
        // The copy goes where a processing run writes this module: below the project's directory.
        return OpenCommentor(window.MdiArea(), prompter, entry.FullPath,
                             window.SettingsInForce().BackupNewCodeDirectory,
                             window.Model() ? window.Model()->ProjectDir : std::string());
    };
}

} // namespace kemptor
