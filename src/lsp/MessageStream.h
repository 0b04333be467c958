#pragma once
// The framing of the protocol's messages on a byte stream: a header block of "Name: value" lines, each
// ended by CR LF, an empty line, then Content-Length bytes of JSON.
//
// The reader never trusts the stream: a header block without a usable Content-Length, an endless header
// line and a message above the size limit each come back as an error (the bytes of an oversized body
// are read and dropped, never held), and reading goes on with the next header block, so a client's
// mistake costs one message, not the session.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace kemptor::lsp {

// Reads up to `size` bytes into `buffer`: the count, 0 at the end of the stream, negative on an error.
using ByteSource = std::function<std::ptrdiff_t(char* buffer, std::size_t size)>;

// Largest message body the reader accepts by default.
inline constexpr std::size_t kDefaultMaxMessageBytes = std::size_t{256} << 20;

struct Frame {
    enum class Kind { Message, Error, End };
    Kind kind = Kind::End;
    std::string body;  // Message: the JSON text
    std::string error; // Error: what was wrong, for the error response
};

class MessageReader {
public:
    explicit MessageReader(ByteSource source, std::size_t maxMessageBytes = kDefaultMaxMessageBytes)
        : source_(std::move(source)), maxMessageBytes_(maxMessageBytes) {}

    // The next message, framing error, or the end of the stream.
    Frame Next();

private:
    // Refills the buffer; false at the end of the stream.
    bool Fill();
    // The next header line without its line end (CR LF or a bare LF); false at the end of the stream.
    // A line longer than the limit is dropped up to its end and reported through `tooLong`.
    bool ReadHeaderLine(std::string& line, bool& tooLong);
    // Moves `count` body bytes into `body` (or drops them when `body` is null); false at the end.
    bool ReadBody(std::size_t count, std::string* body);

    ByteSource source_;
    std::size_t maxMessageBytes_;
    std::string buffer_;
    std::size_t at_ = 0; // the first byte of buffer_ not read yet
    bool ended_ = false;
};

// One message framed for the stream.
std::string FrameMessage(std::string_view body);

} // namespace kemptor::lsp
