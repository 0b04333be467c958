// The workers that format a run's files ahead of their saving: they hand the files over in order and run
// only a bounded way ahead of the run.
#include "run/FormatAhead.h"
#include "formatter/TVBSrcFormatter.h"
#include "platform/Progress.h"
#include "settings/SettingsCatalogue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace kemptor {
namespace {

// Small files are not bounded by their bytes, only by their number: the workers stop a few dozen files
// ahead of a run that takes none, and every file is still handed over, in order.
TEST(FormatAhead, RunsABoundedNumberOfFilesAheadAndHandsEveryFileOverInOrder) {
    constexpr std::size_t kCount = 200;
    Settings settings;
    ProgressObserver run;
    std::atomic<std::size_t> started{0};
    FormatAhead ahead(
        std::vector<std::int64_t>(kCount, 100), 2,
        [&settings](Prompter& prompter) { return std::make_unique<TVBSrcFormatter>(settings, prompter); },
        [&started](std::size_t index, TVBSrcFormatter&, ProgressObserver&) {
            ++started;
            PreparedFile file;
            file.hostSource = std::to_string(index);
            return file;
        },
        run);
    // Until the workers stall: the count stays put for a while.
    for (std::size_t seen = 0, still = 0; still < 20 && started < kCount; std::this_thread::yield()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        still = started == seen ? still + 1 : 0;
        seen = started;
    }
    EXPECT_LE(started.load(), 64u);
    for (std::size_t i = 0; i < kCount; ++i)
        ASSERT_EQ(ahead.Take(i).hostSource, std::to_string(i));
    EXPECT_EQ(started.load(), kCount);
}

} // namespace
} // namespace kemptor
