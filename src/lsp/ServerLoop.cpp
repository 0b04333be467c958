#include "lsp/ServerLoop.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace kemptor::lsp {

namespace {

// The frames read so far, shared by the reader thread and the server. The reader may outlive the loop
// (it can be blocked in a read when exit arrives), so it holds the queue by a shared pointer.
struct FrameQueue {
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<Frame> frames;
};

} // namespace

int RunServer(LanguageServer& server, ByteSource input, std::size_t maxMessageBytes) {
    auto queue = std::make_shared<FrameQueue>();
    auto reader = std::make_shared<MessageReader>(std::move(input), maxMessageBytes);
    bool readerEnded = false;
    std::thread readerThread([queue, reader] {
        for (;;) {
            Frame frame = reader->Next();
            const bool end = frame.kind == Frame::Kind::End;
            {
                std::lock_guard lock(queue->mutex);
                queue->frames.push_back(std::move(frame));
            }
            queue->arrived.notify_one();
            if (end)
                return;
        }
    });

    while (!server.Exited() && !readerEnded) {
        std::optional<Frame> frame;
        {
            std::unique_lock lock(queue->mutex);
            if (queue->frames.empty() && !server.HasIdleWork())
                queue->arrived.wait(lock, [&] { return !queue->frames.empty(); });
            if (!queue->frames.empty()) {
                frame = std::move(queue->frames.front());
                queue->frames.pop_front();
            }
        }
        if (!frame) {
            server.DoIdleWork();
            continue;
        }
        switch (frame->kind) {
        case Frame::Kind::Message:
            server.HandleMessage(frame->body);
            break;
        case Frame::Kind::Error:
            server.HandleFramingError(frame->error);
            break;
        case Frame::Kind::End:
            readerEnded = true;
            break;
        }
    }
    // After exit the reader may wait for input that never comes: it is left to end with the process.
    if (readerEnded)
        readerThread.join();
    else
        readerThread.detach();
    return server.ExitCode();
}

} // namespace kemptor::lsp
