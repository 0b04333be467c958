#include "cli/CliMessages.h"

#include "platform/Host.h"

namespace kemptor {

namespace {

// The length of the UTF-8 sequence at text[i], 0 when none starts there (overlong forms, surrogates
// and code points above U+10FFFF are not UTF-8).
std::size_t Utf8SequenceAt(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    if (c < 0x80)
        return 1;
    std::size_t length = c >= 0xC2 && c <= 0xDF   ? 2
                         : c >= 0xE0 && c <= 0xEF ? 3
                         : c >= 0xF0 && c <= 0xF4 ? 4
                                                  : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
    const unsigned char second = byte(i + 1);
    if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second > 0x9F) || (c == 0xF0 && second < 0x90) ||
        (c == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

void AppendHex(std::string& out, unsigned char c) {
    static const char hex[] = "0123456789abcdef";
    out += "\\x";
    out += hex[c >> 4];
    out += hex[c & 15];
}

} // namespace

bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = Utf8SequenceAt(text, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

std::string EscapedName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size();) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        const std::size_t n = Utf8SequenceAt(name, i);
        if (n > 1) {
            out.append(name.substr(i, n));
            i += n;
            continue;
        }
        ++i;
        if (n == 0)
            AppendHex(out, c);
        else if (c == '\\' && host::kSeparator != '\\') // a directory separator on Windows
            out += "\\\\";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c < 0x20 || c == 0x7F)
            AppendHex(out, c);
        else
            out += static_cast<char>(c);
    }
    return out;
}

std::string LocatedMessage(std::string_view path, std::size_t line, std::size_t column, std::string_view kind,
                           std::string_view text) {
    std::string message = EscapedName(path);
    if (line > 0)
        message += ":" + std::to_string(line) + ":" + std::to_string(column > 0 ? column : 1);
    message += ": ";
    message += kind;
    message += ": ";
    message += text;
    return message;
}

void OutputOptions::AddTo(CLI::App& sub, bool withColor) {
    auto* q = sub.add_flag("-q,--quiet", quiet, "Print errors only");
    auto* v = sub.add_flag("--verbose", verbose, "Also print each file and the time it took (stderr)");
    q->excludes(v);
    if (withColor)
        sub.add_option("--color", color, "Colour the diff: auto (on a terminal), always or never")
            ->check(CLI::IsMember({"auto", "always", "never"}));
}

bool OutputOptions::ColorOnStdout() const {
    return color == "always" || (color == "auto" && host::StdoutIsTerminal());
}

} // namespace kemptor
