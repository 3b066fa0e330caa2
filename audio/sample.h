// gxtkSample: one decoded sound held in an OpenAL buffer.
// Buffers are never deleted on the spot: a discarded or collected sample parks its buffer
// in the discarded list, and the audio device deletes it later once no source plays it,
// so dropping a sample never cuts off a sound that is still playing.
#pragma once

#include <vector>

#include "runtime/object.h"

class gxtkSample : public Object {
public:
    unsigned int buffer = 0;  // OpenAL buffer name; 0 when the sample has none

    gxtkSample() = default;
    explicit gxtkSample(unsigned int buffer) : buffer(buffer) {}
    ~gxtkSample() override;

    void SetBuffer(unsigned int name) { buffer = name; }
    // Hands the buffer to the deferred release; the sample is silent afterwards.
    virtual int Discard();
};

// OpenAL buffer names of discarded or collected samples, not yet deleted.
std::vector<unsigned int>& gxtkDiscardedBuffers();
