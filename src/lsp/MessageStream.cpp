#include "lsp/MessageStream.h"

#include "formatter/LineHelpers.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace kemptor::lsp {

namespace {

constexpr std::size_t kReadChunk = 64 * 1024;
constexpr std::size_t kMaxHeaderLine = 8 * 1024;

// The value of a "Content-Length: N" line; nullopt for another header or a bad number.
std::optional<std::size_t> ContentLength(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    // The name is taken from its end, so that a header line right after the garbage of a broken message
    // still counts and the reader is back in step.
    constexpr std::string_view kName = "CONTENT-LENGTH";
    const std::string name = UpperCase(Trim(line.substr(0, colon)));
    if (name.size() < kName.size() || name.compare(name.size() - kName.size(), kName.size(), kName) != 0)
        return std::nullopt;
    const std::string_view value = Trim(line.substr(colon + 1));
    std::size_t length = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), length);
    if (error != std::errc() || end != value.data() + value.size() || value.empty())
        return std::nullopt;
    return length;
}

} // namespace

bool MessageReader::Fill() {
    if (ended_)
        return false;
    if (at_ > 0) {
        buffer_.erase(0, at_);
        at_ = 0;
    }
    const std::size_t old = buffer_.size();
    buffer_.resize(old + kReadChunk);
    const std::ptrdiff_t got = source_(buffer_.data() + old, kReadChunk);
    buffer_.resize(old + (got > 0 ? static_cast<std::size_t>(got) : 0));
    if (got <= 0)
        ended_ = true;
    return got > 0;
}

bool MessageReader::ReadHeaderLine(std::string& line, bool& tooLong) {
    line.clear();
    tooLong = false;
    for (;;) {
        const std::size_t newline = buffer_.find('\n', at_);
        const std::size_t end = newline == std::string::npos ? buffer_.size() : newline;
        if (!tooLong)
            line.append(buffer_, at_, end - at_);
        if (line.size() > kMaxHeaderLine) {
            tooLong = true;
            line.clear();
        }
        if (newline != std::string::npos) {
            at_ = newline + 1;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return true;
        }
        at_ = buffer_.size();
        if (!Fill())
            return false;
    }
}

bool MessageReader::ReadBody(std::size_t count, std::string* body) {
    if (body)
        body->reserve(count);
    while (count > 0) {
        if (at_ == buffer_.size() && !Fill())
            return false;
        const std::size_t take = std::min(count, buffer_.size() - at_);
        if (body)
            body->append(buffer_, at_, take);
        at_ += take;
        count -= take;
    }
    return true;
}

Frame MessageReader::Next() {
    std::optional<std::size_t> length;
    bool anyHeader = false;
    bool overlong = false;
    std::string line;
    for (;;) {
        bool tooLong = false;
        if (!ReadHeaderLine(line, tooLong))
            return {};
        overlong = overlong || tooLong;
        if (line.empty() && !tooLong) {
            if (anyHeader)
                break;
            continue; // blank lines between messages
        }
        anyHeader = true;
        if (const auto value = ContentLength(line))
            length = value;
    }
    if (overlong)
        return {Frame::Kind::Error, {}, "a header line is longer than the limit"};
    if (!length)
        return {Frame::Kind::Error, {}, "a message header without a valid Content-Length"};
    if (*length > maxMessageBytes_) {
        if (!ReadBody(*length, nullptr))
            return {};
        return {Frame::Kind::Error, {},
                "a message of " + std::to_string(*length) + " bytes is larger than the limit of " +
                    std::to_string(maxMessageBytes_) + " bytes"};
    }
    Frame frame{Frame::Kind::Message, {}, {}};
    if (!ReadBody(*length, &frame.body))
        return {};
    return frame;
}

std::string FrameMessage(std::string_view body) {
    std::string framed = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    framed += body;
    return framed;
}

} // namespace kemptor::lsp
