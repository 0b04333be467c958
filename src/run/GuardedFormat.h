#pragma once
// One file through the engine and then through the code token guard, before anything is written. The
// processing run and `kemptor-cli format` both format this way, so no front end writes a text whose
// code the engine did not keep.

#include "formatter/CodeTokenGuard.h"
#include "formatter/TVBSrcFormatter.h"
#include "platform/TextFile.h"

#include <functional>
#include <optional>
#include <string_view>

namespace kemptor {

class ProgressObserver;

// A change made to the formatted text between the engine and the guard: the seam through which tests
// hand the guard a broken transformation. Empty in normal use.
using OutputTamper = std::function<void(TLineList&)>;

struct GuardedFormatResult {
    bool cancelled = false;               // the user cancelled; nothing is checked
    std::optional<CodeMismatch> mismatch; // the formatted text must not be written
};

// Formats `lines` with `engine` (the result stays in engine.OutputLines), applies `tamper` when given,
// and compares the result with `lines` under the engine's settings.
GuardedFormatResult FormatGuarded(TVBSrcFormatter& engine, const TLineList& lines, std::string_view fileName,
                                  TSourceKind kind, ProgressObserver& progress,
                                  const OutputTamper& tamper = {});
GuardedFormatResult FormatGuarded(TVBSrcFormatter& engine, const TextLines& lines, std::string_view fileName,
                                  TSourceKind kind, ProgressObserver& progress,
                                  const OutputTamper& tamper = {});

// The broken transformation the tests inject: the first "=" of code becomes "<>" (a comparison turned
// around), or, in a text without one, a Stop statement is appended.
void BreakCodeForTest(TLineList& lines);

} // namespace kemptor
