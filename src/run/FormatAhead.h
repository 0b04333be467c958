#pragma once
// The formatting of a run's files ahead of their saving, on worker threads: while the run shows the
// messages of one file and writes it, the next ones are read, formatted and checked. Each worker has an
// engine of its own; what an engine would ask or tell is kept with its file and shown by the run, in the
// order of the files, when it takes that file. The run takes the files in order; a worker formats a file
// only while the files formatted and not yet taken stay within a bound of memory.

#include "formatter/CodeTokenGuard.h"
#include "formatter/TLineList.h"
#include "platform/Prompter.h"
#include "platform/TextFile.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kemptor {

class ProgressObserver;
class TVBSrcFormatter;

// One file read, formatted and checked, before anything of it is shown or written.
struct PreparedFile {
    enum class Outcome {
        Formatted,   // `output` holds the engine's text (unless the run keeps it in its engine)
        NotSource,   // not a Visual Basic source file: not read
        TooLarge,    // above the size limit: not read
        Unreadable,  // could not be opened or read
        Cancelled,   // the run was cancelled while it was formatted
        OutOfMemory, // the engine ran out of memory on it
    };
    Outcome outcome = Outcome::Formatted;
    std::string hostSource;                        // the path read
    std::shared_ptr<const MappedFile> source;      // its bytes, which `lines` and `output` may share
    TLineList lines;                               // the file's lines
    TLineList output;                              // the formatted lines, when taken from the engine
    std::optional<CodeMismatch> mismatch;          // the code check refused the formatted text
    std::vector<ScriptedPrompter::Shown> messages; // what the engine said while formatting it
};

class FormatAhead {
public:
    using NewEngine = std::function<std::unique_ptr<TVBSrcFormatter>(Prompter& prompter)>;
    using Prepare =
        std::function<PreparedFile(std::size_t index, TVBSrcFormatter& engine, ProgressObserver& progress)>;

    // Starts `threads` workers over files 0 .. sizes.size() - 1 (`sizes`: their sizes in bytes, for
    // the bound). `cancel` tells the workers' engines when the run is cancelled; it must be safe to ask
    // from any thread.
    FormatAhead(std::vector<std::int64_t> sizes, int threads, NewEngine newEngine, Prepare prepare,
                const ProgressObserver& cancel);
    // Stops the workers: each finishes (or cancels) the file in hand, and none takes another.
    ~FormatAhead();
    FormatAhead(const FormatAhead&) = delete;
    FormatAhead& operator=(const FormatAhead&) = delete;

    // File `index`, waiting for it; indexes are taken in increasing order, each once.
    PreparedFile Take(std::size_t index);

private:
    void Work();
    bool MayStartNext() const;

    // Files formatted and not yet taken stay under this many bytes (a few files always may).
    static constexpr std::int64_t kBytesAhead = std::int64_t{64} << 20;
    // And under this many files: a few keep the run from waiting, and each file held holds the engine's
    // output blocks, whatever its size, which the next files would otherwise take fresh from the system
    // rather than reuse.
    static constexpr std::size_t kFilesAhead = 16;

    std::vector<std::int64_t> sizes_;
    NewEngine newEngine_;
    Prepare prepare_;
    const ProgressObserver& cancel_;
    int threads_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::optional<PreparedFile>> done_;
    std::size_t next_ = 0;        // the next file a worker takes
    std::size_t taken_ = 0;       // files the run has taken
    std::int64_t bytesAhead_ = 0; // sizes of the files started and not yet taken
    bool stop_ = false;
    std::vector<std::thread> workers_;
};

} // namespace kemptor
