#include "host/memory_policy.h"

#include <malloc.h>

void qvKeepLargeBlocksApart() {
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
}
