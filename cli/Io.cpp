#include "Io.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace tarvelle::cli {

ReadResult FdSource::read(char* into, size_t capacity)
{
    for (;;) {
        const ssize_t got = ::read(fd_, into, capacity);
        if (got >= 0)
            return {static_cast<size_t>(got), std::nullopt};
        if (errno != EINTR)
            return {0, std::string(std::strerror(errno))};
    }
}

std::optional<std::string> FdSink::write(std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd_, bytes.data(), bytes.size());
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return std::string(std::strerror(errno));
        }
        bytes.remove_prefix(static_cast<size_t>(put));
    }
    return std::nullopt;
}

ReadResult StringSource::read(char* into, size_t capacity)
{
    const size_t size = std::min({capacity, step_, text_.size() - at_});
    std::memcpy(into, text_.data() + at_, size);
    at_ += size;
    return {size, std::nullopt};
}

std::optional<std::string> StringSink::write(std::string_view bytes)
{
    if (room != std::string::npos && text.size() + bytes.size() > room)
        return failure;
    text.append(bytes);
    return std::nullopt;
}

bool OutStream::flush()
{
    if (!error_ && !buffer_.empty())
        error_ = sink_.write(buffer_);
    buffer_.clear();
    return !error_;
}

// Moves the unread bytes to the front and reads more after them; false at the end of the input or on a
// failed read (then `failure` says why).
bool LineReader::fill(InputLine& failure)
{
    if (ended_)
        return false;
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    const ReadResult got = source_.read(buffer_.data() + end_, buffer_.size() - end_);
    if (got.error) {
        failure.kind = InputLine::Kind::Error;
        failure.error = *got.error;
        ended_ = true;
        return false;
    }
    ended_ = got.size == 0;
    end_ += got.size;
    return !ended_;
}

InputLine LineReader::next()
{
    InputLine line;
    for (;;) {
        const char* start = buffer_.data() + begin_;
        const auto* newline = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
        const size_t length = newline != nullptr ? static_cast<size_t>(newline - start) : end_ - begin_;
        if (length > kLongestLine)
            break;
        if (newline != nullptr) {
            line.kind = InputLine::Kind::Line;
            line.text = std::string_view(start, length);
            begin_ += length + 1;
            return line;
        }
        if (!fill(line)) {
            if (line.kind == InputLine::Kind::Error || begin_ == end_)
                return line;
            line.kind = InputLine::Kind::Line;
            line.text = std::string_view(buffer_.data() + begin_, end_ - begin_);
            begin_ = end_;
            return line;
        }
    }
    // Too long: keep its start for the complaint and skip the rest, one block at a time.
    quoted_.assign(buffer_, begin_, kQuotedBytes);
    for (;;) {
        const char* start = buffer_.data() + begin_;
        const auto* newline = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
        if (newline != nullptr) {
            begin_ += static_cast<size_t>(newline - start) + 1;
            break;
        }
        begin_ = end_;
        if (!fill(line)) {
            if (line.kind == InputLine::Kind::Error)
                return line;
            break;
        }
    }
    line.kind = InputLine::Kind::TooLong;
    line.text = quoted_;
    return line;
}

} // namespace tarvelle::cli
