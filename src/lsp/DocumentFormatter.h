#pragma once
// One open buffer through the engine, as `kemptor-cli format` formats a file: every pass, then the code
// check. On the way the engine offers each comment and string literal to the spell checker, so the
// buffer's unknown words come from the same run.

#include "lsp/TextDocument.h"
#include "lsp/WordChecker.h"

#include "project/TSourceMgt.h"
#include "run/GuardedFormat.h"

#include <cstddef>
#include <string>
#include <vector>

namespace kemptor {
struct Settings;
class Prompter;
} // namespace kemptor

namespace kemptor::lsp {

// An unknown word of the buffer: its line (from 0), its byte offset and length in the line's UTF-8 text.
struct UnknownWordAt {
    std::size_t line = 0;
    std::size_t offset = 0;
    std::size_t length = 0;
    std::string word; // UTF-8
};

struct FormattedDocument {
    // The code check refused the formatted text; `message` names the first differing line.
    bool refused = false;
    std::string message;
    std::vector<std::string> lines; // the formatted lines in UTF-8 (empty when refused)
    std::vector<UnknownWordAt> unknownWords;
};

// Formats `document` (named `fileName`, of `kind`) under `settings`. With `checker`, and spelling on in
// the settings, the unknown words of its comments and literals are collected too. The engine's
// messages go to `prompter`; `tamper` (tests only) breaks the formatted text before the code check.
// Throws std::bad_alloc when memory runs out.
FormattedDocument FormatDocument(const TextDocument& document, const std::string& fileName, TSourceKind kind,
                                 const Settings& settings, WordChecker* checker, Prompter& prompter,
                                 const OutputTamper& tamper = {});

// The 8-bit text the engine reads for a UTF-8 line or word: Windows-1252 when every character has a
// byte there, else the UTF-8 bytes themselves.
std::string EngineText(std::string_view utf8);

} // namespace kemptor::lsp
