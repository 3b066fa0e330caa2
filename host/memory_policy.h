// How the process's allocator treats large blocks; set once at start-up, before anything
// is allocated, and by benchmarks that want to see the memory behaviour the game has.
#pragma once

// Pictures and their textures are large blocks, all replaced whenever the window changes
// size. Each block from 128 KiB up gets a mapping of its own, so freeing it gives its
// memory back at once instead of leaving a hole in the heap; the thresholds are fixed,
// since the allocator would otherwise raise them after the first large block is freed.
// The heap's top is trimmed only past 64 MiB: the renderer takes several MiB of small
// blocks for each frame of a busy round and frees them again, and trimming those would
// cost a page fault per page every frame.
void qvKeepLargeBlocksApart();
