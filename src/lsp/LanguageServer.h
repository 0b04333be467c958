#pragma once
// The language server: the protocol's lifecycle, the open buffers, formatting of whole buffers and of
// ranges, spelling and house-style diagnostics with their code actions. It reads one message at a time
// and answers through a sink, so the protocol tests drive it as a scripted client would; ServerLoop
// puts it on a byte stream.
//
// Bad input never ends the server: malformed JSON, an unknown method, a request for a buffer that is not
// open, a buffer over the size limit or a failure inside a request each get the protocol's error
// response (or, for a notification, a message to the user), and the next message is read as usual.

#include "lsp/DocumentFormatter.h"
#include "lsp/LineEdits.h"
#include "lsp/TextDocument.h"
#include "lsp/WordChecker.h"

#include "settings/Settings.h"
#include "settings/SettingsOrigins.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kemptor::lsp {

using nlohmann::json;

// Largest buffer the server formats by default: it holds each open buffer and its formatted copy.
inline constexpr std::size_t kDefaultMaxDocumentBytes = std::size_t{64} << 20;

// The commands of the spelling code actions (workspace/executeCommand), each with the word as argument.
inline constexpr const char* kAddToDictionaryCommand = "kemptor.addToDictionary";
inline constexpr const char* kIgnoreWordCommand = "kemptor.ignoreWord";
// The codes of the server's diagnostics.
inline constexpr const char* kUnknownWordCode = "unknown-word";
inline constexpr const char* kStyleCode = "house-style";

// Error codes of the protocol.
namespace rpc_error {
inline constexpr int ParseError = -32700;
inline constexpr int InvalidRequest = -32600;
inline constexpr int MethodNotFound = -32601;
inline constexpr int InvalidParams = -32602;
inline constexpr int InternalError = -32603;
inline constexpr int ServerNotInitialized = -32002;
inline constexpr int RequestFailed = -32803;
} // namespace rpc_error

struct ServerOptions {
    // The settings request for a buffer's file (an empty path for a buffer without one): the command
    // line's common options applied to it.
    std::function<SettingsRequest(const std::string& path)> settingsRequest;
    // The spell checker for the unknown-word diagnostics; none: no spelling diagnostics.
    WordChecker* checker = nullptr;
    std::size_t maxDocumentBytes = kDefaultMaxDocumentBytes;
    std::string version; // reported in serverInfo
    OutputTamper tamper; // tests only: breaks each formatted text before the code check
};

class LanguageServer {
public:
    // `send` receives every message the server sends, as JSON text.
    LanguageServer(ServerOptions options, std::function<void(const std::string&)> send);

    // Handles one message (a request, a notification or a client's response, which is ignored).
    void HandleMessage(std::string_view body);
    // Answers a message the framing could not deliver.
    void HandleFramingError(const std::string& error);

    // Diagnostics wait to be published; the loop calls DoIdleWork when no message is waiting, so a
    // burst of changes is analysed once.
    bool HasIdleWork() const;
    // Publishes the diagnostics of one buffer that changed.
    void DoIdleWork();

    // The client sent exit; ExitCode is 0 when shutdown came first, 1 otherwise (also at the end of the
    // stream without exit).
    bool Exited() const { return exited_; }
    int ExitCode() const { return shutdown_ ? 0 : 1; }

private:
    struct Analysis {
        Settings settings;
        bool spellChecked = false;
        FormattedDocument result;
        std::optional<std::vector<LineChange>> changes;
    };
    struct Document {
        std::string uri;
        std::string path; // the host path of its file; empty for a buffer without one
        TSourceKind kind = skModule;
        json version;
        TextDocument text;
        std::string tooLarge; // why the buffer is not held; empty when it is
        std::optional<Analysis> analysis;
        bool diagnosticsPending = false;
        bool diagnosticsShown = false; // the last published diagnostics were not empty
    };

    void Dispatch(const json& message);
    void Respond(const json& id, json result);
    // Respond with a result already written as JSON text.
    void RespondSerialized(const json& id, std::string_view result);
    void RespondError(const json& id, int code, const std::string& message);
    void Notify(const std::string& method, json params);
    void ShowMessage(int type, const std::string& text);
    void LogMessage(int type, const std::string& text);

    // Requests.
    json Initialize(const json& params);
    // The edits, written as JSON text.
    std::string Formatting(const json& params);
    std::string RangeFormatting(const json& params);
    json CodeActions(const json& params);
    json ExecuteCommand(const json& params);
    // Notifications.
    void DidOpen(const json& params);
    void DidChange(const json& params);
    void DidClose(const json& params);
    void DidChangeConfiguration(const json& params);

    Document& OpenDocumentOf(const json& params);
    void SetText(Document& document, std::string text);
    // The settings in force for the buffer; throws a request failure when they cannot be read.
    Settings SettingsFor(const Document& document);
    bool SpellingShown(const Settings& settings) const;
    // The formatting of the buffer's current text under its current settings, made or reused.
    Analysis& Analyze(Document& document, bool withSpelling);
    const std::vector<LineChange>& ChangesOf(Analysis& analysis, const Document& document);
    // The edits of a formatting request; none (and a warning) when the code check refused the result.
    std::string FormattingEdits(Document& document, std::optional<std::pair<std::size_t, std::size_t>> lines);
    json Diagnostics(Document& document);
    void PublishDiagnostics(Document& document, json diagnostics);
    void TakeClientOptions(const json& options);

    ServerOptions options_;
    std::function<void(const std::string&)> send_;
    bool initialized_ = false;
    bool shutdown_ = false;
    bool exited_ = false;
    bool spellingDiagnostics_ = true; // client option "spelling"
    bool styleHints_ = false;         // client option "styleHints"
    bool checkerReasonLogged_ = false;
    std::map<std::string, Document> documents_;
    std::set<std::string> dismissedWords_; // added to the dictionary or ignored in this session (UTF-8)
};

// The host path of a file URI ("file:///home/a/M.bas", "file:///c%3A/src/M.bas"); empty for any other.
std::string PathOfUri(std::string_view uri);

} // namespace kemptor::lsp
