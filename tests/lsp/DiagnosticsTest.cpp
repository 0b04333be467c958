// The server's diagnostics: unknown words in comments and literals when the settings ask for spelling,
// their code actions and commands, and the optional hints on lines the house style would change.
#include "lsp/LspTestClient.h"

#include <gtest/gtest.h>

namespace kemptor::test {
namespace {

const std::vector<std::string> kSpelling = {"SpellCheck.SpellingPerform=1", "SpellCheck.SpellingComments=1",
                                            "SpellCheck.SpellingLiterals=1"};
const std::string kUri = "file:///tmp/diagnostics/Module1.bas";

json Range(std::size_t line, std::size_t from, std::size_t to) {
    return {{"start", {{"line", line}, {"character", from}}}, {"end", {{"line", line}, {"character", to}}}};
}

TEST(Diagnostics, UnknownWordsOfCommentsAndLiteralsAreInformationAtTheirCharacters) {
    LspTestClient client(kSpelling);
    client.checker.unknown = {"teh", "wrold", "Dimm"};
    client.Initialize();
    // A tab before the comment and a two-byte character before the literal's word: the ranges count
    // the buffer's own UTF-16 characters. Code is never checked ("Dimm" is a name there).
    client.Open(kUri, "Sub A()\n\tx = 1\t' teh end\nMsgBox \"caf\xC3\xA9 wrold\"\nDimm = 2\nEnd Sub\n");
    EXPECT_TRUE(client.Notifications("textDocument/publishDiagnostics").empty()); // only once idle
    client.Idle();
    const json diagnostics = client.LastDiagnostics(kUri);
    ASSERT_EQ(diagnostics.size(), 2u) << diagnostics.dump();
    EXPECT_EQ(diagnostics[0]["range"], Range(1, 9, 12));
    EXPECT_EQ(diagnostics[0]["severity"], 3);
    EXPECT_EQ(diagnostics[0]["code"], lsp::kUnknownWordCode);
    EXPECT_EQ(diagnostics[0]["data"]["word"], "teh");
    EXPECT_EQ(diagnostics[1]["range"], Range(2, 13, 18));
    EXPECT_EQ(client.Notifications("textDocument/publishDiagnostics").back()["version"], 1);

    // Corrected, the word's diagnostic goes; closed, the buffer's diagnostics are cleared.
    client.Change(kUri, "Sub A()\nx = 1 ' the end\nEnd Sub\n", 2);
    client.Idle();
    EXPECT_EQ(client.LastDiagnostics(kUri), json::array());
    client.Change(kUri, "' teh\n", 3);
    client.Idle();
    EXPECT_EQ(client.LastDiagnostics(kUri).size(), 1u);
    client.Notify("textDocument/didClose", {{"textDocument", {{"uri", kUri}}}});
    EXPECT_EQ(client.LastDiagnostics(kUri), json::array());
}

TEST(Diagnostics, NoSpellingWhenTheSettingsOrTheClientSayNo) {
    LspTestClient off; // spelling off in the settings (the default)
    off.checker.unknown = {"teh"};
    off.Initialize();
    off.Open(kUri, "' teh\n");
    off.Idle();
    EXPECT_TRUE(off.Notifications("textDocument/publishDiagnostics").empty());

    LspTestClient declined(kSpelling);
    declined.checker.unknown = {"teh"};
    declined.Initialize({{"spelling", false}});
    declined.Open(kUri, "' teh\n");
    declined.Idle();
    EXPECT_TRUE(declined.Notifications("textDocument/publishDiagnostics").empty());
    // Switched on later through the configuration.
    declined.Notify("workspace/didChangeConfiguration", {{"settings", {{"kemptor", {{"spelling", true}}}}}});
    declined.Idle();
    EXPECT_EQ(declined.LastDiagnostics(kUri).size(), 1u);
}

TEST(Diagnostics, CodeActionsOfferTheSuggestionsTheDictionaryAndIgnore) {
    LspTestClient client(kSpelling);
    client.checker.unknown = {"teh", "recieve", "caf\xE9x"};
    client.checker.suggestions["teh"] = {"the", "tea", "ten", "tech", "tee", "Ted"};
    client.checker.suggestions["caf\xE9x"] = {"caf\xE9"};
    client.Initialize();
    client.Open(kUri, "' teh recieve caf\xC3\xA9x\n");
    client.Idle();
    const json diagnostics = client.LastDiagnostics(kUri);
    ASSERT_EQ(diagnostics.size(), 3u);

    const json actions = client.Request("textDocument/codeAction",
                                        {{"textDocument", {{"uri", kUri}}},
                                         {"range", diagnostics[0]["range"]},
                                         {"context", {{"diagnostics", {diagnostics[0]}}}}})["result"];
    std::vector<std::string> titles;
    for (const json& action : actions)
        titles.push_back(action["title"]);
    EXPECT_EQ(titles, (std::vector<std::string>{"Change to \"the\"", "Change to \"tea\"", "Change to \"ten\"",
                                                "Change to \"tech\"", "Change to \"tee\"",
                                                "Add \"teh\" to dictionary", "Ignore \"teh\""}));
    EXPECT_TRUE(actions[0]["isPreferred"].get<bool>());
    EXPECT_EQ(ApplyEdits("' teh recieve caf\xC3\xA9x\n", actions[0]["edit"]["changes"][kUri]),
              "' the recieve caf\xC3\xA9x\n");
    // The 8-bit word's suggestion comes back in UTF-8.
    const json accented = client.Request("textDocument/codeAction",
                                         {{"textDocument", {{"uri", kUri}}},
                                          {"range", diagnostics[2]["range"]},
                                          {"context", {{"diagnostics", {diagnostics[2]}}}}})["result"];
    EXPECT_EQ(accented[0]["title"], "Change to \"caf\xC3\xA9\"");

    // The commands the other two actions run: the word goes to the checker, and its diagnostics go.
    const json& add = actions[5]["command"];
    EXPECT_TRUE(client.Request("workspace/executeCommand", {{"command", add["command"]}, {"arguments", add["arguments"]}})
                    ["result"]
                        .is_null());
    client.Idle();
    EXPECT_EQ(client.checker.added, std::vector<std::string>{"teh"});
    EXPECT_EQ(client.LastDiagnostics(kUri).size(), 2u);
    client.Request("workspace/executeCommand", {{"command", lsp::kIgnoreWordCommand}, {"arguments", {"recieve"}}});
    client.Idle();
    EXPECT_EQ(client.checker.ignored, std::vector<std::string>{"recieve"});
    EXPECT_EQ(client.LastDiagnostics(kUri).size(), 1u);

    EXPECT_EQ(client.Request("workspace/executeCommand", {{"command", "kemptor.nothing"}, {"arguments", {"x"}}})
                  ["error"]["code"],
              lsp::rpc_error::InvalidParams);
    EXPECT_EQ(client.Request("workspace/executeCommand", {{"command", lsp::kIgnoreWordCommand}, {"arguments", json::array()}})
                  ["error"]["code"],
              lsp::rpc_error::InvalidParams);
}

TEST(Diagnostics, StyleHintsMarkTheLinesFormattingWouldChangeWhenAsked) {
    LspTestClient client;
    client.Initialize({{"styleHints", true}});
    client.Open(kUri, "Sub A()\nx = 1\n    y = 2\nEnd Sub\n");
    client.Idle();
    const json hints = client.LastDiagnostics(kUri);
    ASSERT_EQ(hints.size(), 1u);
    EXPECT_EQ(hints[0]["severity"], 4);
    EXPECT_EQ(hints[0]["range"], Range(1, 0, 5));
    client.Change(kUri, "Sub A()\n    x = 1\n    y = 2\nEnd Sub\n", 2);
    client.Idle();
    EXPECT_EQ(client.LastDiagnostics(kUri), json::array());
}

} // namespace
} // namespace kemptor::test
