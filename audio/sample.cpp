#include "audio/sample.h"

std::vector<unsigned int>& gxtkDiscardedBuffers() {
    static std::vector<unsigned int> discarded;
    return discarded;
}

gxtkSample::~gxtkSample() { Discard(); }

int gxtkSample::Discard() {
    if (buffer != 0) {
        gxtkDiscardedBuffers().push_back(buffer);
        buffer = 0;
    }
    return 0;
}
