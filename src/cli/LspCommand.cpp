// kemptor-cli lsp [common]: a Language Server Protocol server on standard input and output, for editors
// that format Visual Basic buffers in the house style and show their unknown words. The common options
// apply to every buffer as they apply to every file of `format`: without them each buffer takes the
// kemptor.ini found upward from its file, else the user's settings.
#include "cli/CliCommand.h"

#include "lsp/LanguageServer.h"
#include "lsp/ServerLoop.h"
#include "lsp/WordChecker.h"
#include "platform/Host.h"

#include <cstdio>
#include <iostream>

namespace kemptor {
namespace {

class LspCommand : public CliCommand {
public:
    void Setup(CLI::App& sub) override {
        common_.AddTo(sub);
        sub.add_flag("--stdio", stdio_, "Talk over standard input and output (the default and only transport)");
    }

    int Run() override {
        lsp::SpellerWordChecker checker;
        lsp::ServerOptions options;
        options.settingsRequest = [this](const std::string& path) { return common_.RequestFor(path); };
        options.checker = &checker;
        // The messages are written straight to the descriptor: nothing else may reach standard output.
        lsp::LanguageServer server(options, [](const std::string& body) {
            host::WriteAll(1, lsp::FrameMessage(body));
        });
        return lsp::RunServer(server, [](char* buffer, std::size_t size) { return host::ReadSome(0, buffer, size); });
    }

private:
    CommonOptions common_;
    bool stdio_ = false; // editors' clients pass it; standard input and output is all there is
};

const bool registered = RegisterCliCommand<LspCommand>(
    "lsp", "Language server on standard input and output: formatting, range formatting and spelling for editors");

} // namespace
} // namespace kemptor
