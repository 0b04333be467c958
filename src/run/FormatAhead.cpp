#include "run/FormatAhead.h"

#include "formatter/TVBSrcFormatter.h"
#include "platform/Progress.h"

#include <new>

namespace kemptor {

namespace {

// A worker's engine reports no progress (the run shows it per file); it stops when the run is cancelled.
class CancelOnly : public ProgressObserver {
public:
    explicit CancelOnly(const ProgressObserver& run) : run_(run) {}
    bool CancelRequested() const override { return run_.CancelRequested(); }

private:
    const ProgressObserver& run_;
};

} // namespace

FormatAhead::FormatAhead(std::vector<std::int64_t> sizes, int threads, NewEngine newEngine, Prepare prepare,
                         const ProgressObserver& cancel)
    : sizes_(std::move(sizes)), newEngine_(std::move(newEngine)), prepare_(std::move(prepare)),
      cancel_(cancel), threads_(threads), done_(sizes_.size()) {
    for (int k = 0; k < threads; ++k)
        workers_.emplace_back([this] { Work(); });
}

FormatAhead::~FormatAhead() {
    {
        const std::lock_guard lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    for (std::thread& worker : workers_)
        worker.join();
}

bool FormatAhead::MayStartNext() const {
    if (next_ >= sizes_.size())
        return false;
    // The file the run waits for, and the few after it, are always started.
    if (next_ < taken_ + static_cast<std::size_t>(threads_) + 1)
        return true;
    return next_ < taken_ + kFilesAhead && bytesAhead_ + std::max<std::int64_t>(sizes_[next_], 0) <= kBytesAhead;
}

void FormatAhead::Work() {
    ScriptedPrompter said; // answers OK to what the engine asks; the run shows it with the file
    const std::unique_ptr<TVBSrcFormatter> engine = newEngine_(said);
    CancelOnly progress(cancel_);
    for (;;) {
        std::size_t index = 0;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return stop_ || next_ >= sizes_.size() || MayStartNext(); });
            if (stop_ || next_ >= sizes_.size())
                return;
            index = next_++;
            bytesAhead_ += std::max<std::int64_t>(sizes_[index], 0);
        }
        PreparedFile file;
        try {
            file = prepare_(index, *engine, progress);
            file.output = engine->TakeOutput();
        } catch (const std::bad_alloc&) {
            engine->TakeOutput();
            file = PreparedFile{};
            file.outcome = PreparedFile::Outcome::OutOfMemory;
        }
        file.messages = said.Messages();
        said.Clear();
        {
            const std::lock_guard lock(mutex_);
            done_[index] = std::move(file);
        }
        changed_.notify_all();
    }
}

PreparedFile FormatAhead::Take(std::size_t index) {
    std::unique_lock lock(mutex_);
    taken_ = index;
    // A file not yet done may not be started either: the workers are told the run waits for it.
    if (!done_[index].has_value()) {
        changed_.notify_all();
        changed_.wait(lock, [&] { return done_[index].has_value(); });
    }
    PreparedFile file = std::move(*done_[index]);
    done_[index].reset();
    taken_ = index + 1;
    bytesAhead_ -= std::max<std::int64_t>(sizes_[index], 0);
    // Workers held back by the bounds are woken once half of the files' bound is free again, not at
    // every file taken; a run that finds its next file not done wakes them at once.
    const bool room = next_ <= taken_ + kFilesAhead / 2;
    lock.unlock();
    if (room)
        changed_.notify_all();
    return file;
}

} // namespace kemptor
