// Feeds arbitrary bytes to the response-head reader in pieces whose sizes come from the
// input, and checks that what it reports is consistent.
#include <cstdint>
#include <cstdlib>

#include "net/http_response_head.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    size_t step = data[0] % 32 + 1;
    HttpResponseHead head;
    size_t at = 1;
    while (at < size && head.GetState() == HttpResponseHead::State::kReading) {
        int piece = int(size - at < step ? size - at : step);
        int used = head.Feed(data + at, piece);
        if (used < 0 || used > piece) std::abort();
        if (head.GetState() == HttpResponseHead::State::kReading && used != piece) std::abort();
        at += size_t(used);
    }
    bool complete = head.GetState() == HttpResponseHead::State::kComplete;
    if (complete && head.Lines().empty()) std::abort();
    if (!complete && head.Status() != -1) std::abort();
    for (const std::string& line : head.Lines()) {
        if (line.empty() || line.size() > HttpResponseHead::kMaxLineBytes) std::abort();
        if (uint8_t(line.front()) <= 32 || uint8_t(line.back()) <= 32) std::abort();
    }
    return 0;
}
