#pragma once
// The language server on a byte stream. A reader thread takes the framed messages off the input as they
// come; the server handles them in order and, whenever none is waiting, publishes the diagnostics of
// the buffers that changed, so that a burst of keystrokes is analysed once and a request never waits
// behind an analysis that its own message made stale.

#include "lsp/LanguageServer.h"
#include "lsp/MessageStream.h"

namespace kemptor::lsp {

// Runs `server` on `input` until the client sends exit or the input ends; returns the exit status (0
// when shutdown came first, 1 otherwise). The server's messages go wherever it was built to send them.
int RunServer(LanguageServer& server, ByteSource input, std::size_t maxMessageBytes = kDefaultMaxMessageBytes);

} // namespace kemptor::lsp
