#include "lsp/LanguageServer.h"

#include "formatter/LineHelpers.h"
#include "lsp/TextEncoding.h"
#include "platform/Prompter.h"
#include "platform/WinPath.h"
#include "spell/SpellReporter.h"
#include "spell/SpellRun.h"

#include <algorithm>
#include <cctype>
#include <new>

namespace kemptor::lsp {

namespace {

// window/showMessage and window/logMessage types.
constexpr int kMessageError = 1;
constexpr int kMessageWarning = 2;
constexpr int kMessageInfo = 3;
constexpr int kMessageLog = 4;
// Diagnostic severities.
constexpr int kSeverityInformation = 3;
constexpr int kSeverityHint = 4;
// Diagnostics of one kind published per buffer at most: more would only slow the editor down.
constexpr std::size_t kMaxDiagnosticsPerKind = 1000;

// A request that cannot be answered with a result; Dispatch turns it into the error response.
struct RpcFailure {
    int code;
    std::string message;
};

const json& Member(const json& object, const char* name, json::value_t type) {
    if (!object.is_object() || !object.contains(name))
        throw RpcFailure{rpc_error::InvalidParams, std::string("missing parameter \"") + name + "\""};
    const json& value = object[name];
    const bool fits = value.type() == type || (type == json::value_t::number_integer && value.is_number_integer());
    if (!fits)
        throw RpcFailure{rpc_error::InvalidParams, std::string("parameter \"") + name + "\" has the wrong type"};
    return value;
}

std::string StringMember(const json& object, const char* name) {
    return Member(object, name, json::value_t::string).get<std::string>();
}

std::size_t IndexMember(const json& object, const char* name) {
    const json& value = Member(object, name, json::value_t::number_integer);
    if (value.get<long long>() < 0)
        throw RpcFailure{rpc_error::InvalidParams, std::string("parameter \"") + name + "\" is negative"};
    return value.get<std::size_t>();
}

Position PositionMember(const json& object, const char* name) {
    const json& position = Member(object, name, json::value_t::object);
    return {IndexMember(position, "line"), IndexMember(position, "character")};
}

json PositionJson(Position p) {
    return {{"line", p.line}, {"character", p.character}};
}

json RangeJson(Position start, Position end) {
    return {{"start", PositionJson(start)}, {"end", PositionJson(end)}};
}

// The range of `length` bytes at `offset` in line `line` of the buffer.
json LineRangeJson(const TextDocument& text, std::size_t line, std::size_t offset, std::size_t length) {
    const std::string_view content = text.Line(line);
    return RangeJson({line, Utf16Length(content.substr(0, offset))},
                     {line, Utf16Length(content.substr(0, offset + length))});
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Collects the engine's messages instead of showing them; the server passes them on.
class CollectingPrompter : public Prompter {
public:
    PromptAnswer Show(PromptKind kind, const std::string& text, PromptButtons buttons) override {
        shown.push_back({kind, text});
        return buttons == PromptButtons::YesNo || buttons == PromptButtons::YesNoCancel ? PromptAnswer::Yes
                                                                                      : PromptAnswer::Ok;
    }
    std::vector<std::pair<PromptKind, std::string>> shown;
};

int MessageTypeOf(PromptKind kind) {
    switch (kind) {
    case PromptKind::Error:
        return kMessageError;
    case PromptKind::Warning:
        return kMessageWarning;
    default:
        return kMessageInfo;
    }
}

} // namespace

std::string PathOfUri(std::string_view uri) {
    constexpr std::string_view kScheme = "file://";
    if (uri.size() < kScheme.size() || UpperCase(uri.substr(0, kScheme.size())) != "FILE://")
        return {};
    std::string_view rest = uri.substr(kScheme.size());
    // An authority ("localhost", a server) comes before the path's first slash.
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos)
        return {};
    const std::string_view authority = rest.substr(0, slash);
    rest = rest.substr(slash);
    std::string path;
    if (!authority.empty() && UpperCase(authority) != "LOCALHOST")
        path = "//" + std::string(authority);
    for (std::size_t k = 0; k < rest.size(); ++k) {
        const int high = rest[k] == '%' && k + 2 < rest.size() ? HexDigit(rest[k + 1]) : -1;
        const int low = high >= 0 ? HexDigit(rest[k + 2]) : -1;
        if (low >= 0) {
            path += static_cast<char>(high * 16 + low);
            k += 2;
        } else {
            path += rest[k];
        }
    }
    // "/c:/src/M.bas": a drive path, whose leading slash belongs to the URI only.
    if (path.size() >= 3 && path[0] == '/' && path[2] == ':' && std::isalpha(static_cast<unsigned char>(path[1])))
        path.erase(0, 1);
    return path;
}

LanguageServer::LanguageServer(ServerOptions options, std::function<void(const std::string&)> send)
    : options_(std::move(options)), send_(std::move(send)) {}

// --- Messages ----------------------------------------------------------------------------------

void LanguageServer::HandleMessage(std::string_view body) {
    json message = json::parse(body, nullptr, false);
    if (message.is_discarded()) {
        RespondError(nullptr, rpc_error::ParseError, "the message is not valid JSON");
        return;
    }
    Dispatch(message);
}

void LanguageServer::HandleFramingError(const std::string& error) {
    RespondError(nullptr, rpc_error::InvalidRequest, "unreadable message: " + error);
}

void LanguageServer::Dispatch(const json& message) {
    if (!message.is_object()) {
        RespondError(nullptr, rpc_error::InvalidRequest, "a message must be a JSON object");
        return;
    }
    const bool hasId = message.contains("id");
    const json id = hasId ? message["id"] : json(nullptr);
    if (hasId && !id.is_number_integer() && !id.is_string()) {
        RespondError(nullptr, rpc_error::InvalidRequest, "a request id must be a number or a string");
        return;
    }
    if (!message.contains("method") || !message["method"].is_string()) {
        // A response to a request: the server sends none, so there is nothing to match it with.
        if (hasId && (message.contains("result") || message.contains("error")))
            return;
        RespondError(id, rpc_error::InvalidRequest, "a message without a method");
        return;
    }
    const std::string method = message["method"].get<std::string>();
    const json params = message.contains("params") ? message["params"] : json::object();

    if (method == "exit") {
        exited_ = true;
        return;
    }
    if (!hasId) {
        // Notifications count only between initialize and shutdown; unknown ones are ignored.
        if (!initialized_ || shutdown_)
            return;
        try {
            if (method == "textDocument/didOpen")
                DidOpen(params);
            else if (method == "textDocument/didChange")
                DidChange(params);
            else if (method == "textDocument/didClose")
                DidClose(params);
            else if (method == "workspace/didChangeConfiguration")
                DidChangeConfiguration(params);
        } catch (const RpcFailure& failure) {
            LogMessage(kMessageError, method + ": " + failure.message);
        } catch (const std::bad_alloc&) {
            ShowMessage(kMessageError, method + ": not enough memory");
        }
        return;
    }

    try {
        if (method == "initialize") {
            if (initialized_)
                throw RpcFailure{rpc_error::InvalidRequest, "the server is initialized already"};
            Respond(id, Initialize(params));
            return;
        }
        if (!initialized_)
            throw RpcFailure{rpc_error::ServerNotInitialized, "the server is not initialized"};
        if (shutdown_)
            throw RpcFailure{rpc_error::InvalidRequest, "the server is shutting down"};
        if (method == "shutdown") {
            shutdown_ = true;
            Respond(id, nullptr);
        } else if (method == "textDocument/formatting") {
            RespondSerialized(id, Formatting(params));
        } else if (method == "textDocument/rangeFormatting") {
            RespondSerialized(id, RangeFormatting(params));
        } else if (method == "textDocument/codeAction") {
            Respond(id, CodeActions(params));
        } else if (method == "workspace/executeCommand") {
            Respond(id, ExecuteCommand(params));
        } else {
            throw RpcFailure{rpc_error::MethodNotFound, "unknown method " + method};
        }
    } catch (const RpcFailure& failure) {
        RespondError(id, failure.code, failure.message);
    } catch (const std::bad_alloc&) {
        RespondError(id, rpc_error::RequestFailed, "not enough memory for " + method);
    } catch (const std::exception& e) {
        RespondError(id, rpc_error::InternalError, method + " failed: " + e.what());
    }
}

void LanguageServer::Respond(const json& id, json result) {
    json response = {{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}};
    send_(response.dump(-1, ' ', false, json::error_handler_t::replace));
}

void LanguageServer::RespondSerialized(const json& id, std::string_view result) {
    // The members in the order a json object gives them (by name), as Respond writes them.
    std::string response = "{\"id\":";
    response += id.dump(-1, ' ', false, json::error_handler_t::replace);
    response += ",\"jsonrpc\":\"2.0\",\"result\":";
    response += result;
    response += '}';
    send_(response);
}

void LanguageServer::RespondError(const json& id, int code, const std::string& message) {
    json response = {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}};
    send_(response.dump(-1, ' ', false, json::error_handler_t::replace));
}

void LanguageServer::Notify(const std::string& method, json params) {
    json notification = {{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
    send_(notification.dump(-1, ' ', false, json::error_handler_t::replace));
}

void LanguageServer::ShowMessage(int type, const std::string& text) {
    Notify("window/showMessage", {{"type", type}, {"message", text}});
}

void LanguageServer::LogMessage(int type, const std::string& text) {
    Notify("window/logMessage", {{"type", type}, {"message", text}});
}

// --- Lifecycle and options ---------------------------------------------------------------------

json LanguageServer::Initialize(const json& params) {
    initialized_ = true;
    if (params.is_object() && params.contains("initializationOptions"))
        TakeClientOptions(params["initializationOptions"]);
    const json capabilities = {
        {"positionEncoding", "utf-16"},
        {"textDocumentSync", {{"openClose", true}, {"change", 1}}},
        {"documentFormattingProvider", true},
        {"documentRangeFormattingProvider", true},
        {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}},
        {"executeCommandProvider", {{"commands", {kAddToDictionaryCommand, kIgnoreWordCommand}}}},
    };
    json serverInfo = {{"name", "kemptor-cli"}};
    if (!options_.version.empty())
        serverInfo["version"] = options_.version;
    return {{"capabilities", capabilities}, {"serverInfo", std::move(serverInfo)}};
}

void LanguageServer::TakeClientOptions(const json& options) {
    if (!options.is_object())
        return;
    if (options.contains("spelling") && options["spelling"].is_boolean())
        spellingDiagnostics_ = options["spelling"].get<bool>();
    if (options.contains("styleHints") && options["styleHints"].is_boolean())
        styleHints_ = options["styleHints"].get<bool>();
}

void LanguageServer::DidChangeConfiguration(const json& params) {
    if (!params.is_object() || !params.contains("settings"))
        return;
    const json& settings = params["settings"];
    // The client sends its whole configuration or the server's own section.
    TakeClientOptions(settings.is_object() && settings.contains("kemptor") ? settings["kemptor"] : settings);
    for (auto& [uri, document] : documents_)
        document.diagnosticsPending = true;
}

// --- Buffers -----------------------------------------------------------------------------------

void LanguageServer::SetText(Document& document, std::string text) {
    document.analysis.reset();
    document.diagnosticsPending = true;
    if (text.size() > options_.maxDocumentBytes) {
        document.text.SetText({});
        document.tooLarge = ExtractFileName(document.path.empty() ? document.uri : document.path) + " has " +
                            std::to_string(text.size()) + " bytes, more than the " +
                            std::to_string(options_.maxDocumentBytes) + " the language server formats";
        ShowMessage(kMessageWarning, document.tooLarge);
        return;
    }
    document.tooLarge.clear();
    document.text.SetText(std::move(text));
}

void LanguageServer::DidOpen(const json& params) {
    const json& item = Member(params, "textDocument", json::value_t::object);
    const std::string uri = StringMember(item, "uri");
    Document document;
    document.uri = uri;
    document.path = PathOfUri(uri);
    document.kind = SourceKindOf(ExtractUpperExtension(document.path.empty() ? uri : document.path));
    document.version = item.contains("version") ? item["version"] : json(nullptr);
    SetText(document, StringMember(item, "text"));
    documents_[uri] = std::move(document);
}

LanguageServer::Document& LanguageServer::OpenDocumentOf(const json& params) {
    const json& identifier = Member(params, "textDocument", json::value_t::object);
    const std::string uri = StringMember(identifier, "uri");
    const auto found = documents_.find(uri);
    if (found == documents_.end())
        throw RpcFailure{rpc_error::InvalidParams, "the document " + uri + " is not open"};
    return found->second;
}

void LanguageServer::DidChange(const json& params) {
    Document& document = OpenDocumentOf(params);
    const json& changes = Member(params, "contentChanges", json::value_t::array);
    for (const json& change : changes) {
        std::string text = StringMember(change, "text");
        if (change.contains("range") && !document.tooLarge.empty())
            continue; // a part of a buffer that is not held: only a whole new text can replace it
        if (change.contains("range")) {
            const json& range = Member(change, "range", json::value_t::object);
            TextDocument edited = document.text;
            edited.Replace(PositionMember(range, "start"), PositionMember(range, "end"), text);
            text = edited.Text();
        }
        SetText(document, std::move(text));
    }
    const json& identifier = params["textDocument"];
    if (identifier.contains("version"))
        document.version = identifier["version"];
}

void LanguageServer::DidClose(const json& params) {
    Document& document = OpenDocumentOf(params);
    if (document.diagnosticsShown)
        Notify("textDocument/publishDiagnostics", {{"uri", document.uri}, {"diagnostics", json::array()}});
    documents_.erase(document.uri);
}

// --- Formatting --------------------------------------------------------------------------------

Settings LanguageServer::SettingsFor(const Document& document) {
    std::string error;
    SettingsRequest request = options_.settingsRequest ? options_.settingsRequest(document.path) : SettingsRequest{};
    if (!options_.settingsRequest)
        request.path = document.path;
    std::optional<SettingsWithOrigins> loaded = LoadSettingsWithOrigins(request, error);
    if (!loaded)
        throw RpcFailure{rpc_error::RequestFailed, error};
    for (const std::string& warning : loaded->warnings)
        LogMessage(kMessageWarning, warning);
    return std::move(loaded->values);
}

bool LanguageServer::SpellingShown(const Settings& settings) const {
    return spellingDiagnostics_ && options_.checker && SpellingWanted(settings);
}

LanguageServer::Analysis& LanguageServer::Analyze(Document& document, bool withSpelling) {
    Settings settings = SettingsFor(document);
    withSpelling = withSpelling && SpellingShown(settings);
    if (document.analysis && document.analysis->settings == settings &&
        (document.analysis->spellChecked || !withSpelling))
        return *document.analysis;

    WordChecker* checker = withSpelling ? options_.checker : nullptr;
    if (checker && !checkerReasonLogged_) {
        if (const std::string reason = checker->UnavailableReason(); !reason.empty()) {
            LogMessage(kMessageWarning, reason);
            checkerReasonLogged_ = true;
        }
    }
    document.analysis.reset();
    CollectingPrompter prompter;
    const std::string name = ExtractFileName(document.path.empty() ? document.uri : document.path);
    FormattedDocument result = FormatDocument(document.text, name, document.kind, settings, checker, prompter, options_.tamper);
    for (const auto& [kind, text] : prompter.shown)
        LogMessage(MessageTypeOf(kind), text);
    document.analysis = Analysis{std::move(settings), checker != nullptr, std::move(result), std::nullopt};
    return *document.analysis;
}

const std::vector<LineChange>& LanguageServer::ChangesOf(Analysis& analysis, const Document& document) {
    if (!analysis.changes)
        analysis.changes = FindLineChanges(document.text, analysis.result.lines);
    return *analysis.changes;
}

std::string LanguageServer::FormattingEdits(Document& document, std::optional<std::pair<std::size_t, std::size_t>> lines) {
    if (!document.tooLarge.empty())
        throw RpcFailure{rpc_error::RequestFailed, document.tooLarge};
    Analysis& analysis = Analyze(document, false);
    if (analysis.result.refused) {
        ShowMessage(kMessageWarning, analysis.result.message);
        return "[]";
    }
    std::vector<LineChange> changes = ChangesOf(analysis, document);
    if (lines) {
        auto [first, last] = *lines;
        WidenToStatements(document.text, first, last);
        changes = ChangesTouching(changes, first, last);
    }
    // Written straight into the answer's text: a first formatting answers with an edit for nearly every
    // line, and an object of objects per edit would cost more than the formatting itself. The members
    // stand in the order a json object gives them (by name).
    const auto position = [](std::string& out, Position p) {
        out += "{\"character\":";
        out += std::to_string(p.character);
        out += ",\"line\":";
        out += std::to_string(p.line);
        out += '}';
    };
    std::string edits = "[";
    for (ByteEdit& edit : EditsOf(document.text, analysis.result.lines, changes)) {
        if (edits.size() > 1)
            edits += ',';
        edits += "{\"newText\":";
        edits += json(std::move(edit.text)).dump(-1, ' ', false, json::error_handler_t::replace);
        edits += ",\"range\":{\"end\":";
        position(edits, document.text.PositionOf(edit.end));
        edits += ",\"start\":";
        position(edits, document.text.PositionOf(edit.start));
        edits += "}}";
    }
    edits += ']';
    return edits;
}

std::string LanguageServer::Formatting(const json& params) {
    return FormattingEdits(OpenDocumentOf(params), std::nullopt);
}

std::string LanguageServer::RangeFormatting(const json& params) {
    Document& document = OpenDocumentOf(params);
    const json& range = Member(params, "range", json::value_t::object);
    const Position start = PositionMember(range, "start");
    const Position end = PositionMember(range, "end");
    std::size_t first = std::min(start.line, end.line);
    std::size_t last = std::max(start.line, end.line);
    // A range that ends at the start of a line (a selection of whole lines) leaves that line out.
    const Position& later = start.line > end.line ? start : end;
    if (last > first && later.character == 0)
        --last;
    if (document.text.LineCount() == 0 || first >= document.text.LineCount())
        return "[]";
    return FormattingEdits(document, std::make_pair(first, last));
}

// --- Diagnostics and code actions --------------------------------------------------------------

bool LanguageServer::HasIdleWork() const {
    return std::any_of(documents_.begin(), documents_.end(),
                       [](const auto& entry) { return entry.second.diagnosticsPending; });
}

void LanguageServer::DoIdleWork() {
    const auto pending = std::find_if(documents_.begin(), documents_.end(),
                                      [](const auto& entry) { return entry.second.diagnosticsPending; });
    if (pending == documents_.end())
        return;
    Document& document = pending->second;
    document.diagnosticsPending = false;
    json diagnostics = json::array();
    try {
        diagnostics = Diagnostics(document);
    } catch (const RpcFailure& failure) {
        LogMessage(kMessageError, failure.message);
    } catch (const std::bad_alloc&) {
        LogMessage(kMessageError, "not enough memory to check " + document.uri);
    }
    PublishDiagnostics(document, std::move(diagnostics));
}

json LanguageServer::Diagnostics(Document& document) {
    json diagnostics = json::array();
    if (!document.tooLarge.empty() || (!spellingDiagnostics_ && !styleHints_))
        return diagnostics;
    if (!styleHints_ && !SpellingShown(SettingsFor(document)))
        return diagnostics;
    Analysis& analysis = Analyze(document, true);
    std::size_t count = 0;
    for (const UnknownWordAt& unknown : analysis.result.unknownWords) {
        if (dismissedWords_.count(unknown.word) || unknown.line >= document.text.LineCount())
            continue;
        if (++count > kMaxDiagnosticsPerKind)
            break;
        diagnostics.push_back({{"range", LineRangeJson(document.text, unknown.line, unknown.offset, unknown.length)},
                               {"severity", kSeverityInformation},
                               {"source", "kemptor"},
                               {"code", kUnknownWordCode},
                               {"message", "Unknown word \"" + unknown.word + "\""},
                               {"data", {{"word", unknown.word}}}});
    }
    if (!styleHints_ || analysis.result.refused)
        return diagnostics;
    count = 0;
    const std::size_t lineCount = document.text.LineCount();
    for (const LineChange& change : ChangesOf(analysis, document)) {
        // A change that only inserts lines is shown on the line they go before (or the last line).
        const std::size_t from = std::min(change.oldStart, lineCount == 0 ? 0 : lineCount - 1);
        const std::size_t to = std::max(from + 1, std::min(change.oldStart + change.oldCount, lineCount));
        for (std::size_t line = from; line < to && line < lineCount && count < kMaxDiagnosticsPerKind; ++line, ++count)
            diagnostics.push_back({{"range", LineRangeJson(document.text, line, 0, document.text.Line(line).size())},
                                   {"severity", kSeverityHint},
                                   {"source", "kemptor"},
                                   {"code", kStyleCode},
                                   {"message", "The house style formats this line differently"}});
    }
    return diagnostics;
}

void LanguageServer::PublishDiagnostics(Document& document, json diagnostics) {
    if (diagnostics.empty() && !document.diagnosticsShown)
        return;
    document.diagnosticsShown = !diagnostics.empty();
    json params = {{"uri", document.uri}, {"diagnostics", std::move(diagnostics)}};
    if (document.version.is_number_integer())
        params["version"] = document.version;
    Notify("textDocument/publishDiagnostics", std::move(params));
}

json LanguageServer::CodeActions(const json& params) {
    Document& document = OpenDocumentOf(params);
    const json& context = Member(params, "context", json::value_t::object);
    json actions = json::array();
    if (!context.contains("diagnostics") || !context["diagnostics"].is_array())
        return actions;
    for (const json& diagnostic : context["diagnostics"]) {
        if (!diagnostic.is_object() || diagnostic.value("code", json()) != kUnknownWordCode ||
            !diagnostic.contains("data") || !diagnostic["data"].is_object() || !diagnostic.contains("range"))
            continue;
        const std::string word = diagnostic["data"].value("word", std::string());
        if (word.empty() || !options_.checker)
            continue;
        // The checker's words are 8-bit; its suggestions go back to UTF-8 as the word came.
        const bool converted = Utf8ToWindows1252(word).has_value();
        std::vector<std::string> suggestions = options_.checker->Suggestions(EngineText(word));
        if (suggestions.size() > static_cast<std::size_t>(kReportedSuggestions))
            suggestions.resize(kReportedSuggestions);
        for (const std::string& suggestion : suggestions) {
            const std::string replacement = converted ? Windows1252ToUtf8(suggestion) : suggestion;
            json action = {{"title", "Change to \"" + replacement + "\""},
                           {"kind", "quickfix"},
                           {"diagnostics", {diagnostic}},
                           {"edit", {{"changes", {{document.uri, {{{"range", diagnostic["range"]}, {"newText", replacement}}}}}}}}};
            if (&suggestion == &suggestions.front())
                action["isPreferred"] = true;
            actions.push_back(std::move(action));
        }
        for (const auto& [title, command] : {std::pair{"Add \"" + word + "\" to dictionary", kAddToDictionaryCommand},
                                             std::pair{"Ignore \"" + word + "\"", kIgnoreWordCommand}})
            actions.push_back({{"title", title},
                               {"kind", "quickfix"},
                               {"diagnostics", {diagnostic}},
                               {"command", {{"title", title}, {"command", command}, {"arguments", {word}}}}});
    }
    return actions;
}

json LanguageServer::ExecuteCommand(const json& params) {
    const std::string command = StringMember(params, "command");
    if (command != kAddToDictionaryCommand && command != kIgnoreWordCommand)
        throw RpcFailure{rpc_error::InvalidParams, "unknown command " + command};
    const json& arguments = Member(params, "arguments", json::value_t::array);
    if (arguments.empty() || !arguments[0].is_string() || arguments[0].get<std::string>().empty())
        throw RpcFailure{rpc_error::InvalidParams, command + " takes the word as its argument"};
    const std::string word = arguments[0].get<std::string>();
    if (options_.checker) {
        if (command == kAddToDictionaryCommand)
            options_.checker->AddToDictionary(EngineText(word));
        else
            options_.checker->Ignore(EngineText(word));
    }
    dismissedWords_.insert(word);
    for (auto& [uri, document] : documents_)
        document.diagnosticsPending = true;
    return nullptr;
}

} // namespace kemptor::lsp
