// The framing of messages on a byte stream and the server loop over it.
#include "lsp/MessageStream.h"
#include "lsp/ServerLoop.h"

#include "lsp/LspTestClient.h"

#include <gtest/gtest.h>

namespace kemptor::test {
namespace {

using lsp::Frame;
using lsp::FrameMessage;
using lsp::MessageReader;

// A source that hands out `bytes` at most `chunk` bytes a read.
lsp::ByteSource SourceOf(std::string bytes, std::size_t chunk = 1 << 20) {
    auto data = std::make_shared<std::string>(std::move(bytes));
    auto at = std::make_shared<std::size_t>(0);
    return [data, at, chunk](char* buffer, std::size_t size) -> std::ptrdiff_t {
        const std::size_t n = std::min({size, chunk, data->size() - *at});
        std::copy_n(data->data() + *at, n, buffer);
        *at += n;
        return static_cast<std::ptrdiff_t>(n);
    };
}

std::vector<Frame> ReadAll(MessageReader& reader) {
    std::vector<Frame> frames;
    for (Frame f = reader.Next(); f.kind != Frame::Kind::End; f = reader.Next())
        frames.push_back(f);
    return frames;
}

TEST(MessageStream, ReadsMessagesWhateverTheReadsCutThem) {
    const std::string stream = FrameMessage(R"({"a":1})") + FrameMessage("{\"b\":\"\xC3\xA9\r\n\"}") +
                               "Content-Type: application/vscode-jsonrpc; charset=utf-8\r\n" + FrameMessage("[]");
    for (std::size_t chunk : {std::size_t{1}, std::size_t{7}, std::size_t{1} << 20}) {
        MessageReader reader(SourceOf(stream, chunk));
        const auto frames = ReadAll(reader);
        ASSERT_EQ(frames.size(), 3u) << "chunk " << chunk;
        EXPECT_EQ(frames[0].body, R"({"a":1})");
        EXPECT_EQ(frames[1].body, "{\"b\":\"\xC3\xA9\r\n\"}"); // the length counts bytes
        EXPECT_EQ(frames[2].body, "[]");
    }
}

TEST(MessageStream, ABrokenHeaderCostsOneMessageAndReadingGoesOn) {
    // A header without Content-Length, one with a bad number, and a header line glued to the garbage
    // of a broken body: each is an error, and the messages after them are read.
    const std::string stream = "Content-Type: x\r\n\r\n" + FrameMessage("1") + "Content-Length: 12x\r\n\r\n" +
                               "garbage" + FrameMessage("2") + "\nContent-Length: 1\n\n3";
    MessageReader reader(SourceOf(stream));
    const auto frames = ReadAll(reader);
    std::vector<std::string> seen;
    for (const Frame& f : frames)
        seen.push_back(f.kind == Frame::Kind::Error ? "error" : f.body);
    EXPECT_EQ(seen, (std::vector<std::string>{"error", "1", "error", "2", "3"}));
}

TEST(MessageStream, OversizedMessagesAndEndlessHeaderLinesAreDroppedNotHeld) {
    const std::string big(5000, 'x');
    const std::string stream = FrameMessage(big) + FrameMessage("{}") + std::string(20000, 'h') + "\r\n\r\n" +
                               FrameMessage("[1]");
    MessageReader reader(SourceOf(stream, 100), 1000);
    const auto frames = ReadAll(reader);
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0].kind, Frame::Kind::Error);
    EXPECT_NE(frames[0].error.find("5000 bytes"), std::string::npos);
    EXPECT_EQ(frames[1].body, "{}");
    EXPECT_EQ(frames[2].kind, Frame::Kind::Error);
    EXPECT_EQ(frames[3].body, "[1]");
}

TEST(MessageStream, AStreamEndingInsideAMessageEndsTheReading) {
    MessageReader reader(SourceOf("Content-Length: 10\r\n\r\n{\"a\""));
    EXPECT_EQ(reader.Next().kind, Frame::Kind::End);
    EXPECT_EQ(reader.Next().kind, Frame::Kind::End);
}

// The loop over a whole session as a client writes it; the answers come in the order of the requests.
std::vector<json> RunSession(const std::string& input, int& status) {
    std::vector<json> out;
    lsp::ServerOptions options;
    ScriptedWordChecker checker;
    options.checker = &checker;
    options.settingsRequest = [](const std::string& path) {
        SettingsRequest request;
        request.path = path;
        request.overrides = {kNoOptionExplicit};
        return request;
    };
    lsp::LanguageServer server(options, [&](const std::string& body) { out.push_back(json::parse(body)); });
    status = lsp::RunServer(server, SourceOf(input, 13));
    return out;
}

std::string Framed(const json& message) {
    return FrameMessage(message.dump());
}

TEST(ServerLoop, RunsASessionToExitAndSurvivesGarbageOnTheWay) {
    const std::string uri = "file:///tmp/loop/Module1.bas";
    const std::string input =
        Framed({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", json::object()}}) +
        "Content-Length: 3\r\n\r\n{{{" + "no header at all\r\n\r\n" +
        Framed({{"jsonrpc", "2.0"},
                {"method", "textDocument/didOpen"},
                {"params", {{"textDocument", {{"uri", uri}, {"version", 1}, {"text", "Sub A()\nx = 1\nEnd Sub\n"}}}}}}) +
        Framed({{"jsonrpc", "2.0"}, {"id", 2}, {"method", "textDocument/formatting"}, {"params", {{"textDocument", {{"uri", uri}}}}}}) +
        Framed({{"jsonrpc", "2.0"}, {"id", 3}, {"method", "shutdown"}}) + Framed({{"jsonrpc", "2.0"}, {"method", "exit"}}) +
        Framed({{"jsonrpc", "2.0"}, {"id", 4}, {"method", "shutdown"}}); // after exit: never read
    int status = -1;
    const std::vector<json> out = RunSession(input, status);
    EXPECT_EQ(status, 0);
    std::vector<json> ids;
    for (const json& m : out)
        if (m.contains("id"))
            ids.push_back(m["id"]);
    EXPECT_EQ(ids, (std::vector<json>{1, nullptr, nullptr, 2, 3}));
    EXPECT_EQ(out[1]["error"]["code"], lsp::rpc_error::ParseError);
    EXPECT_EQ(out[2]["error"]["code"], lsp::rpc_error::InvalidRequest);
    EXPECT_EQ(ApplyEdits("Sub A()\nx = 1\nEnd Sub\n", out[3]["result"]), "Sub A()\n    x = 1\nEnd Sub\n");
}

TEST(ServerLoop, TheEndOfTheInputWithoutShutdownIsAFailure) {
    int status = -1;
    RunSession(Framed({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", json::object()}}), status);
    EXPECT_EQ(status, 1);
    RunSession(Framed({{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", json::object()}}) +
                   Framed({{"jsonrpc", "2.0"}, {"method", "exit"}}),
               status);
    EXPECT_EQ(status, 1);
}

} // namespace
} // namespace kemptor::test
