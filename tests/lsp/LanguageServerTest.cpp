// The language server driven by a scripted client: the lifecycle, formatting as the command line
// formats, range formatting, the code check's refusal, and every kind of bad input.
#include "lsp/LspTestClient.h"

#include "support/CliRunner.h"
#include "support/TempDir.h"

#include "run/GuardedFormat.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace kemptor::test {
namespace {

std::string ReadExample(const std::string& relative) {
    std::ifstream in(std::string(KEMPTOR_EXAMPLES) + "/" + relative, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string WithLf(std::string text) {
    std::string out;
    for (std::size_t k = 0; k < text.size(); ++k)
        if (!(text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n'))
            out += text[k];
    return out;
}

// The lines of a text with their line ends, for byte-by-byte comparisons of single lines.
std::vector<std::string> RawLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '\n' || (text[k] == '\r' && (k + 1 == text.size() || text[k + 1] != '\n'))) {
            lines.push_back(text.substr(start, k + 1 - start));
            start = k + 1;
        }
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

const std::vector<std::string> kSplits = {"General.IfThenSplit=1", "General.MultiStatementSplit=1", kNoOptionExplicit};

TEST(LanguageServer, AnswersOnlyBetweenInitializeAndShutdown) {
    LspTestClient client;
    EXPECT_EQ(client.Request("textDocument/formatting")["error"]["code"], lsp::rpc_error::ServerNotInitialized);
    const json init = client.Initialize();
    const json& caps = init["result"]["capabilities"];
    EXPECT_EQ(caps["textDocumentSync"]["change"], 1);
    EXPECT_TRUE(caps["documentFormattingProvider"].get<bool>());
    EXPECT_TRUE(caps["documentRangeFormattingProvider"].get<bool>());
    EXPECT_EQ(caps["executeCommandProvider"]["commands"].size(), 2u);
    EXPECT_EQ(client.Request("initialize")["error"]["code"], lsp::rpc_error::InvalidRequest);

    EXPECT_TRUE(client.Request("shutdown")["result"].is_null());
    EXPECT_EQ(client.Request("textDocument/formatting")["error"]["code"], lsp::rpc_error::InvalidRequest);
    EXPECT_FALSE(client.Server().Exited());
    client.Notify("exit");
    EXPECT_TRUE(client.Server().Exited());
    EXPECT_EQ(client.Server().ExitCode(), 0);

    LspTestClient rude;
    rude.Initialize();
    rude.Notify("exit");
    EXPECT_EQ(rude.Server().ExitCode(), 1);
}

TEST(LanguageServer, FormatsABufferAsTheCommandLineFormatsItsFileKeepingTheBufferLineEnds) {
    TempDir dir;
    const std::string original = ReadExample("vbp/modGlobals.bas");
    dir.Write("modGlobals.bas", original);
    std::string setArgs;
    for (const auto& set : kSplits)
        setArgs += " --set " + set;
    const CliResult cli = RunCli(dir, "format" + setArgs + " modGlobals.bas");
    ASSERT_EQ(cli.status, 0) << cli.err;
    ASSERT_NE(cli.out, original);

    LspTestClient client(kSplits);
    client.Initialize();
    const std::string uri = UriOf(dir.Path() + "modGlobals.bas");
    for (const std::string& buffer : {original, WithLf(original)}) {
        client.Open(uri, buffer);
        const json edits = client.Format(uri)["result"];
        ASSERT_TRUE(edits.is_array());
        const std::string formatted = ApplyEdits(buffer, edits);
        EXPECT_EQ(formatted, buffer == original ? cli.out : WithLf(cli.out));
        // Formatted once, nothing is left to change.
        client.Change(uri, formatted, 2);
        EXPECT_EQ(client.Format(uri)["result"], json::array());
        client.Notify("textDocument/didClose", {{"textDocument", {{"uri", uri}}}});
    }
    // The edits are written as text by hand: every message reads as a json value writes it.
    for (const std::string& body : client.bodies)
        EXPECT_EQ(body, json::parse(body).dump(-1, ' ', false, json::error_handler_t::replace));
}

TEST(LanguageServer, EachBufferTakesTheSettingsFileFoundFromItsPath) {
    TempDir dir;
    dir.Write("house/kemptor.ini", "[Indents]\r\nIfThenElseIndent=2\r\n");
    // Nothing set beyond the settings files, as for the command line.
    const std::string code = "Sub A()\r\nIf x Then\r\ny = 1\r\nEnd If\r\nEnd Sub\r\n";
    dir.Write("house/M.bas", code);
    dir.Write("other/M.bas", code);
    LspTestClient client(std::vector<std::string>{});
    client.Initialize();
    std::map<std::string, std::string> results;
    for (const std::string folder : {"house", "other"}) {
        const std::string uri = UriOf(dir.Path() + folder + "/M.bas");
        client.Open(uri, code);
        results[folder] = ApplyEdits(code, client.Format(uri)["result"]);
        EXPECT_EQ(results[folder], RunCli(dir, "format " + folder + "/M.bas").out) << folder;
    }
    EXPECT_NE(results["house"], results["other"]);
}

TEST(LanguageServer, RangeFormattingChangesTheTouchedStatementsAndLeavesEveryOtherLineByteForByte) {
    // Untidy throughout, with mixed line ends that the lines outside the range must keep.
    const std::string buffer = "Sub A()\r\nx = 1\ny = 2 : z = 3\r\nw = f(1, _\r\n2)\rIf w Then v = 4\r\nEnd Sub\r\n";
    const std::string uri = "file:///tmp/range/A.bas";
    LspTestClient client(kSplits);
    client.Initialize();
    client.Open(uri, buffer);
    const std::vector<std::string> full = RawLines(ApplyEdits(buffer, client.Format(uri)["result"]));

    // The second line of the continued statement: both its lines are formatted, nothing else.
    const std::vector<std::string> ranged = RawLines(ApplyEdits(buffer, client.FormatLines(uri, 4, 4, 1)["result"]));
    const std::vector<std::string> before = RawLines(buffer);
    ASSERT_EQ(ranged.size(), before.size());
    for (std::size_t i : {0, 1, 2, 5, 6})
        EXPECT_EQ(ranged[i], before[i]) << i;
    EXPECT_EQ(ranged[3], "    w = f(1, _\r\n");
    EXPECT_EQ(ranged[4], "        2)\r"); // a re-indented line keeps its own line end
    EXPECT_NE(std::find(full.begin(), full.end(), "    w = f(1, _\r\n"), full.end());

    // A whole-line selection (ending at the start of the next line) of the joined statements: they
    // are split as the whole buffer's formatting splits them.
    const std::string split = ApplyEdits(buffer, client.FormatLines(uri, 2, 3, 0)["result"]);
    EXPECT_EQ(split, "Sub A()\r\nx = 1\n    y = 2\r\n    z = 3\r\nw = f(1, _\r\n2)\rIf w Then v = 4\r\nEnd Sub\r\n");
}

TEST(LanguageServer, ARefusedFormatGivesNoEditsAndAWarningNamingTheLine) {
    lsp::ServerOptions options;
    options.tamper = BreakCodeForTest;
    LspTestClient client({}, options);
    client.Initialize();
    const std::string uri = "file:///tmp/refused/Calc.bas";
    client.Open(uri, "Sub A()\nx = 1\nEnd Sub\n");
    EXPECT_EQ(client.Format(uri)["result"], json::array());
    EXPECT_EQ(client.FormatLines(uri, 1, 1, 3)["result"], json::array());
    const auto shown = client.Notifications("window/showMessage");
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back()["type"], 2);
    const std::string text = shown.back()["message"];
    EXPECT_NE(text.find("Calc.bas"), std::string::npos) << text;
    EXPECT_NE(text.find("line 2"), std::string::npos) << text;
}

TEST(LanguageServer, BadInputGetsErrorResponsesAndTheServerGoesOn) {
    lsp::ServerOptions options;
    options.maxDocumentBytes = 1000;
    LspTestClient client({kNoOptionExplicit}, options);
    client.Initialize();
    const auto lastError = [&] { return client.received.back()["error"]["code"]; };

    client.SendRaw("{\"jsonrpc\": \"2.0\", \"id\": 7, \"method\": ");
    EXPECT_EQ(lastError(), lsp::rpc_error::ParseError);
    EXPECT_TRUE(client.received.back()["id"].is_null());
    client.SendRaw("[1, 2]");
    EXPECT_EQ(lastError(), lsp::rpc_error::InvalidRequest);
    client.SendRaw(R"({"jsonrpc": "2.0", "id": {"a": 1}, "method": "shutdown"})");
    EXPECT_EQ(lastError(), lsp::rpc_error::InvalidRequest);
    EXPECT_EQ(client.Request("textDocument/hover")["error"]["code"], lsp::rpc_error::MethodNotFound);

    // Notifications nobody knows, responses nobody asked for and changes to buffers never opened are
    // passed over (the last with a note in the log).
    const std::size_t count = client.received.size();
    client.Notify("$/setTrace", {{"value", "off"}});
    client.Notify("custom/whatever");
    client.SendRaw(R"({"jsonrpc": "2.0", "id": 99, "result": null})");
    EXPECT_EQ(client.received.size(), count);
    client.Change("file:///tmp/bad/Never.bas", "x", 2);
    EXPECT_EQ(client.Notifications("window/logMessage").size(), 1u);

    const json notOpen = client.Format("file:///tmp/bad/Never.bas");
    EXPECT_EQ(notOpen["error"]["code"], lsp::rpc_error::InvalidParams);
    EXPECT_NE(notOpen["error"]["message"].get<std::string>().find("not open"), std::string::npos);
    EXPECT_EQ(client.Request("textDocument/formatting", {{"textDocument", 5}})["error"]["code"],
              lsp::rpc_error::InvalidParams);
    const std::string uri = "file:///tmp/bad/Big.bas";
    client.Open(uri, "Sub A()\nEnd Sub\n");
    const json negative = {{"textDocument", {{"uri", uri}}},
                           {"range", {{"start", {{"line", -1}, {"character", 0}}}, {"end", {{"line", 1}, {"character", 0}}}}}};
    EXPECT_EQ(client.Request("textDocument/rangeFormatting", negative)["error"]["code"], lsp::rpc_error::InvalidParams);

    // A buffer over the limit is named in a warning; formatting it fails until it is small again.
    client.Change(uri, std::string(2000, '\''), 2);
    EXPECT_NE(client.Notifications("window/showMessage").back()["message"].get<std::string>().find("Big.bas"),
              std::string::npos);
    EXPECT_EQ(client.Format(uri)["error"]["code"], lsp::rpc_error::RequestFailed);
    client.Change(uri, "Sub A()\nx = 1\nEnd Sub\n", 3);
    EXPECT_EQ(ApplyEdits("Sub A()\nx = 1\nEnd Sub\n", client.Format(uri)["result"]), "Sub A()\n    x = 1\nEnd Sub\n");
}

TEST(LanguageServer, FormatsADocumentOfTwoHundredThousandLines) {
    TempDir dir;
    std::string text;
    for (int n = 0; n < 20000; ++n)
        text += "Sub P" + std::to_string(n) +
                "()\nDim a As Long ' count\nFor a = 1 To 3\nIf a > 1 Then\nb = a\nEnd If\nNext a\nc = 1\nEnd Sub\n\n";
    dir.Write("Huge.bas", text);
    LspTestClient client(std::vector<std::string>{});
    client.Initialize();
    const std::string uri = UriOf(dir.Path() + "Huge.bas");
    client.Open(uri, text);
    const std::string formatted = ApplyEdits(text, client.Format(uri)["result"]);
    EXPECT_EQ(formatted, WithLf(RunCli(dir, "format Huge.bas").out));
    // A range in the middle of it is formatted alone: one line, as the whole formatting has it.
    const std::string ranged = ApplyEdits(text, client.FormatLines(uri, 100004, 100004, 5)["result"]);
    const std::size_t at = formatted.find(" b = a\n");
    ASSERT_NE(at, std::string::npos);
    const std::string line = formatted.substr(formatted.rfind('\n', at) + 1, at + 7 - formatted.rfind('\n', at) - 1);
    EXPECT_EQ(RawLines(ranged)[100004], line);
    EXPECT_EQ(ranged.size(), text.size() + line.size() - 6);
}

} // namespace
} // namespace kemptor::test
