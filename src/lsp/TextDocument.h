#pragma once
// An open editor buffer as the language server holds it: the UTF-8 text the client sent and where its
// lines lie. Lines are cut at CR LF, LF or a lone CR, as the engine cuts a file, and a final line end
// adds no line; each line keeps its own line end, so that text the server leaves alone goes back to the
// client byte for byte.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kemptor::lsp {

// A place in the text as the protocol gives it: a line from 0 and a character in UTF-16 code units.
struct Position {
    std::size_t line = 0;
    std::size_t character = 0;
    bool operator==(const Position&) const = default;
};

class TextDocument {
public:
    TextDocument() = default;
    explicit TextDocument(std::string text) { SetText(std::move(text)); }

    void SetText(std::string text);
    // Replaces the text between two positions (an incremental change); positions past the end clamp.
    void Replace(Position start, Position end, std::string_view text);

    const std::string& Text() const { return text_; }
    std::size_t LineCount() const { return lines_.size(); }
    // Line i without its line end.
    std::string_view Line(std::size_t i) const;
    // The line end of the text's first line ("\r\n", "\n" or "\r"), which new lines get; CR LF, the
    // line end of Visual Basic files, when the text has none.
    std::string_view LineEnd() const { return lineEnd_; }
    // The last line has a line end.
    bool EndsWithLineEnd() const;

    // Byte offset of the start of line i; the text's size for i == LineCount().
    std::size_t LineStart(std::size_t i) const;
    std::size_t OffsetOf(Position position) const;
    Position PositionOf(std::size_t offset) const;

private:
    struct LineSpan {
        std::size_t start = 0;
        std::size_t length = 0; // without the line end
    };
    std::string text_;
    std::vector<LineSpan> lines_;
    std::string_view lineEnd_ = "\r\n";
};

} // namespace kemptor::lsp
