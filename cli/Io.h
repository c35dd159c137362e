// tarvelle-cli's input and output, checked at every step.
//
//  - ByteSource / ByteSink: where bytes come from and go to: a file descriptor for the program (FdSource,
//    FdSink), a string for the tests and the fuzzer (StringSource, StringSink);
//  - OutStream: a buffered writer over a sink that remembers the first failed write, so a command can stop at
//    once and the program can report it in one line;
//  - LineReader: standard input split into lines of bounded length, read in fixed-size blocks, so one endless
//    line costs no more memory than a short one.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tarvelle::cli {

/// What one read gave: bytes (0 at the end of the input), or the reason it failed.
struct ReadResult
{
    size_t size = 0;
    std::optional<std::string> error;
};

class ByteSource
{
public:
    virtual ~ByteSource() = default;
    /// Reads up to `capacity` bytes into `into`.
    virtual ReadResult read(char* into, size_t capacity) = 0;
};

class ByteSink
{
public:
    virtual ~ByteSink() = default;
    /// Writes all of bytes; the reason when that failed.
    virtual std::optional<std::string> write(std::string_view bytes) = 0;
};

/// Reads a file descriptor, retrying reads an interrupting signal cut short.
class FdSource final : public ByteSource
{
public:
    explicit FdSource(int fd) : fd_(fd) { }
    ReadResult read(char* into, size_t capacity) override;

private:
    int fd_;
};

/// Writes to a file descriptor, retrying short and interrupted writes.
class FdSink final : public ByteSink
{
public:
    explicit FdSink(int fd) : fd_(fd) { }
    std::optional<std::string> write(std::string_view bytes) override;

private:
    int fd_;
};

/// Reads a string, at most `step` bytes per read (to exercise block boundaries).
class StringSource final : public ByteSource
{
public:
    explicit StringSource(std::string text, size_t step = 65536) : text_(std::move(text)), step_(step) { }
    ReadResult read(char* into, size_t capacity) override;

private:
    std::string text_;
    size_t step_;
    size_t at_ = 0;
};

/// Collects what is written; fails with `failure` once more than `room` bytes would be held.
class StringSink final : public ByteSink
{
public:
    std::string text;
    size_t room = std::string::npos;
    std::string failure = "No space left on device";

    std::optional<std::string> write(std::string_view bytes) override;
};

/// Buffered output to a sink. After a failed write every later write is dropped and failed() stays true.
class OutStream
{
public:
    explicit OutStream(ByteSink& sink) : sink_(sink) { buffer_.reserve(2 * kBlock); }

    /// Appends bytes, writing the buffer out when it is full.
    OutStream& operator<<(std::string_view bytes)
    {
        buffer_.append(bytes);
        return wrote();
    }
    OutStream& operator<<(char c)
    {
        buffer_.push_back(c);
        return wrote();
    }
    /// The buffer, for writers that append to it directly; call wrote() afterwards.
    std::string& buffer() { return buffer_; }
    /// Writes the buffer out once it holds a block.
    OutStream& wrote()
    {
        if (buffer_.size() >= kBlock)
            flush();
        return *this;
    }
    /// Writes out everything buffered; false when this or an earlier write failed.
    bool flush();
    /// Whether a write failed.
    bool failed() const { return error_.has_value(); }
    /// Why the first write failed.
    const std::optional<std::string>& error() const { return error_; }

    static constexpr size_t kBlock = 65536;

private:
    ByteSink& sink_;
    std::string buffer_;
    std::optional<std::string> error_;
};

/// One line of input: its text (without the line end), or the start of a line that was too long.
struct InputLine
{
    enum class Kind { Line, TooLong, End, Error };
    Kind kind = Kind::End;
    std::string_view text; // the line, or for TooLong its first kQuotedBytes bytes
    std::string error; // for Error, why the read failed
};

/// Splits a source into lines ending in "\n" (a last line without one counts too); lines longer than
/// kLongestLine bytes are skipped to their end and reported as TooLong.
class LineReader
{
public:
    static constexpr size_t kLongestLine = 4096;
    static constexpr size_t kQuotedBytes = 40;

    explicit LineReader(ByteSource& source) : source_(source) { buffer_.resize(kBlockSize); }

    /// The next line; its text stays valid until the next call.
    InputLine next();

private:
    static constexpr size_t kBlockSize = 65536;

    bool fill(InputLine& failure);

    ByteSource& source_;
    std::string buffer_;
    std::string quoted_;
    size_t begin_ = 0; // first unread byte
    size_t end_ = 0; // end of the bytes read
    bool ended_ = false;
};

} // namespace tarvelle::cli
