#include "net/http_response_head.h"

#include <cctype>
#include <cstdlib>

namespace {

std::string TrimControls(const std::string& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && uint8_t(text[begin]) <= 32) ++begin;
    while (end > begin && uint8_t(text[end - 1]) <= 32) --end;
    return text.substr(begin, end - begin);
}

std::vector<std::string> SplitAtSpaces(const std::string& text) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        if (c == ' ') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

}  // namespace

bool ParseHttpStatusLine(const std::string& line, int* status) {
    std::string upper = line;
    for (char& c : upper) c = char(std::toupper(uint8_t(c)));
    std::vector<std::string> parts = SplitAtSpaces(upper);
    // "HTTP/1.0 200" (an empty reason phrase, trimmed away) is a status line too.
    if (parts.size() < 2 || upper.compare(0, 5, "HTTP/") != 0) return false;
    *status = std::atoi(parts[1].substr(0, 63).c_str());
    return true;
}

int HttpResponseHead::Feed(const uint8_t* bytes, int count) {
    int used = 0;
    while (state_ == State::kReading && used < count) {
        uint8_t b = bytes[used++];
        if (++headBytes_ > kMaxHeadBytes) {
            state_ = State::kMalformed;
        } else if (b == '\n') {
            EndLine();
        } else if (partial_.size() == kMaxLineBytes) {
            state_ = State::kMalformed;
        } else {
            partial_ += char(b);
        }
    }
    return used;
}

void HttpResponseHead::EndLine() {
    std::string line = TrimControls(partial_);
    partial_.clear();
    if (line.empty()) {
        EndHead();
    } else {
        lines_.push_back(line);
    }
}

void HttpResponseHead::EndHead() {
    bool valid = !lines_.empty() && ParseHttpStatusLine(lines_.front(), &status_);
    state_ = valid ? State::kComplete : State::kMalformed;
}
