// Reads an HTTP response head from the bytes of a connection as they arrive: lines end at
// LF and are trimmed of spaces and control characters; the first empty line ends the head.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class HttpResponseHead {
public:
    enum class State { kReading, kComplete, kMalformed };

    // A head line, or the whole head, longer than these is refused as malformed.
    static constexpr size_t kMaxLineBytes = 16384;
    static constexpr size_t kMaxHeadBytes = 65536;

    // Consumes bytes while reading; returns how many belonged to the head. Once the head
    // is complete the rest of the piece is the start of the body.
    int Feed(const uint8_t* bytes, int count);

    State GetState() const { return state_; }
    // The status code once the status line qualified, else -1.
    int Status() const { return status_; }
    // The non-empty head lines read so far, status line first.
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    void EndLine();
    void EndHead();

    State state_ = State::kReading;
    int status_ = -1;
    size_t headBytes_ = 0;
    std::string partial_;
    std::vector<std::string> lines_;
};

// Reads the status code of a status line such as "HTTP/1.1 200 OK" (case is ignored): the
// number after "HTTP/<version> ", read like atoi. False when the line is not a status line.
bool ParseHttpStatusLine(const std::string& line, int* status);
