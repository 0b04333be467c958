// Fuzz target: any bytes as a source file, formatted under settings chosen by the first two bytes and
// then checked by the code check, as a processing run does. A crash, a sanitizer report or a hang is a
// fault; a refusal by the code check is not (it is the check doing its work).
#include "formatter/HeaderTemplates.h"
#include "platform/Progress.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"
#include "run/GuardedFormat.h"
#include "settings/SettingsCatalogue.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

using namespace kemptor;

// The options that change the most code, switched by the bits of one byte; the second picks the
// comment and blank-line groups and the kind of file.
Settings SettingsFrom(std::uint8_t a, std::uint8_t b) {
    Settings s;
    s.PreviewBeforeSaving = false;
    s.MultiVarSplit = a & 1;
    s.MultiConstSplit = a & 2;
    s.IfThenSplit = a & 4;
    s.MultiStatementSplit = a & 8;
    s.SubLevelCommentsPerform = a & 16;
    s.FunctionLevelCommentsPerform = a & 16;
    s.OptionExplicitInsert = a & 32;
    s.SpecialRemoveComments = a & 64;
    s.CorrectAsProblem = a & 128;
    s.GrpSingleLineComments = b % 5;
    s.GrpInLineComments = (b / 5) % 4;
    s.GrpBlankLines = (b / 20) % 3;
    s.GrpForNextProcessing = (b / 60) % 3;
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const Settings settings = SettingsFrom(data[0], data[1]);
    const TSourceKind kind = static_cast<TSourceKind>(data[1] % 5);
    const TextLines lines =
        SplitTextLines(std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2));
    ScriptedPrompter prompter;
    ProgressObserver progress;
    TVBSrcFormatter engine(settings, prompter);
    engine.SetHeaderTemplates(DefaultHeaderTemplates());
    FormatGuarded(engine, lines, kind == skForm ? "f.frm" : "m.bas", kind, progress);
    return 0;
}
