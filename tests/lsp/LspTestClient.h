#pragma once
// A scripted client for the language server: sends requests and notifications as an editor does, keeps
// what the server sends back, and applies returned edits to a text the way an editor applies them to
// its buffer. A scripted word checker stands in for the dictionary.

#include "lsp/LanguageServer.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace kemptor::test {

using lsp::json;

// Knows every word except the ones listed as unknown.
class ScriptedWordChecker : public lsp::WordChecker {
public:
    std::set<std::string> unknown;
    std::map<std::string, std::vector<std::string>> suggestions;
    std::vector<std::string> added;
    std::vector<std::string> ignored;
    std::string unavailable;

    std::string UnavailableReason() override { return unavailable; }
    std::vector<TextWord> UnknownWords(const std::string& text) override {
        std::vector<TextWord> words;
        for (const TextWord& word : SpellWords(text, {}))
            if (unknown.count(text.substr(word.offset, word.length)))
                words.push_back(word);
        return words;
    }
    std::vector<std::string> Suggestions(const std::string& word) override { return suggestions[word]; }
    void AddToDictionary(const std::string& word) override {
        added.push_back(word);
        unknown.erase(word);
    }
    void Ignore(const std::string& word) override {
        ignored.push_back(word);
        unknown.erase(word);
    }
};

// The file URI of a scratch path ("C:\\Temp\\x" on Windows gives "file:///C:/Temp/x").
inline std::string UriOf(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return (path.front() == '/' ? "file://" : "file:///") + path;
}

// The short test buffers are formatted without an inserted Option Explicit.
inline const std::string kNoOptionExplicit = "General.OptionExplicitInsert=0";

class LspTestClient {
public:
    // `sets`: Section.Key=Value texts applied to every buffer's settings, after a kemptor.ini.
    explicit LspTestClient(std::vector<std::string> sets = {kNoOptionExplicit}, lsp::ServerOptions options = {})
        : sets_(std::move(sets)) {
        options.settingsRequest = [this](const std::string& path) {
            SettingsRequest request;
            request.path = path;
            request.overrides = sets_;
            return request;
        };
        if (!options.checker)
            options.checker = &checker;
        server_ = std::make_unique<lsp::LanguageServer>(options, [this](const std::string& body) {
            received.push_back(json::parse(body));
            bodies.push_back(body);
        });
    }

    // Sends a request and returns the server's response to it (the whole message).
    json Request(const std::string& method, json params = json::object()) {
        const int id = ++lastId_;
        Send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}});
        for (const json& message : received)
            if (message.contains("id") && message["id"] == id)
                return message;
        throw std::runtime_error("no response to " + method);
    }
    void Notify(const std::string& method, json params = json::object()) {
        Send({{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}});
    }
    void Send(const json& message) { server_->HandleMessage(message.dump()); }
    void SendRaw(const std::string& body) { server_->HandleMessage(body); }

    // initialize and initialized, with the client's options.
    json Initialize(json options = json::object()) {
        json response = Request("initialize", {{"capabilities", json::object()}, {"initializationOptions", options}});
        Notify("initialized");
        return response;
    }
    void Open(const std::string& uri, const std::string& text, int version = 1) {
        Notify("textDocument/didOpen",
               {{"textDocument", {{"uri", uri}, {"languageId", "vb"}, {"version", version}, {"text", text}}}});
    }
    void Change(const std::string& uri, const std::string& text, int version) {
        Notify("textDocument/didChange",
               {{"textDocument", {{"uri", uri}, {"version", version}}}, {"contentChanges", {{{"text", text}}}}});
    }
    json Format(const std::string& uri) {
        return Request("textDocument/formatting",
                       {{"textDocument", {{"uri", uri}}}, {"options", {{"tabSize", 4}, {"insertSpaces", true}}}});
    }
    json FormatLines(const std::string& uri, std::size_t first, std::size_t endLine, std::size_t endCharacter = 0) {
        return Request("textDocument/rangeFormatting",
                       {{"textDocument", {{"uri", uri}}},
                        {"range",
                         {{"start", {{"line", first}, {"character", 0}}},
                          {"end", {{"line", endLine}, {"character", endCharacter}}}}},
                        {"options", {{"tabSize", 4}, {"insertSpaces", true}}}});
    }
    // Runs the work the server does while no message waits: the diagnostics.
    void Idle() {
        while (server_->HasIdleWork())
            server_->DoIdleWork();
    }

    // The notifications of `method` received so far.
    std::vector<json> Notifications(const std::string& method) const {
        std::vector<json> found;
        for (const json& message : received)
            if (!message.contains("id") && message.value("method", "") == method)
                found.push_back(message["params"]);
        return found;
    }
    // The diagnostics last published for `uri`.
    json LastDiagnostics(const std::string& uri) const {
        json last = json::array();
        for (const json& params : Notifications("textDocument/publishDiagnostics"))
            if (params["uri"] == uri)
                last = params["diagnostics"];
        return last;
    }

    lsp::LanguageServer& Server() { return *server_; }

    ScriptedWordChecker checker;
    std::vector<json> received;
    std::vector<std::string> bodies; // the same, as the server wrote them

private:
    std::vector<std::string> sets_;
    std::unique_ptr<lsp::LanguageServer> server_;
    int lastId_ = 0;
};

// The byte offsets where the lines of a text start (lines end in CR LF, LF or CR); one more entry for
// the position after a final line end.
inline std::vector<std::size_t> LineStartsOf(const std::string& text) {
    std::vector<std::size_t> starts{0};
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n')
            ++at;
        if (text[at] == '\n' || text[at] == '\r')
            starts.push_back(at + 1);
    }
    return starts;
}

// The byte offset of a protocol position in an ASCII text.
inline std::size_t OffsetIn(const std::vector<std::size_t>& starts, const json& position) {
    return starts.at(position["line"].get<std::size_t>()) + position["character"].get<std::size_t>();
}

// The text after the server's TextEdits, applied from the last to the first as an editor does.
inline std::string ApplyEdits(std::string text, const json& edits) {
    const std::vector<std::size_t> starts = LineStartsOf(text);
    std::vector<std::pair<std::size_t, std::size_t>> ranges;
    for (const json& edit : edits)
        ranges.push_back({OffsetIn(starts, edit["range"]["start"]), OffsetIn(starts, edit["range"]["end"])});
    std::vector<std::size_t> order(ranges.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return ranges[a].first > ranges[b].first; });
    for (std::size_t k : order)
        text.replace(ranges[k].first, ranges[k].second - ranges[k].first, edits[k]["newText"].get<std::string>());
    return text;
}

} // namespace kemptor::test
