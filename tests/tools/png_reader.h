// Decoded pictures for the data-folder tests: RGBA pixels, whatever the file's depth.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Pixels {
    int width = 0;
    int height = 0;
    int fileDepth = 0;          // bytes per pixel stored in the file (1..4)
    std::vector<uint8_t> rgba;  // width * height * 4, empty when the file did not decode

    bool Ok() const { return !rgba.empty(); }
    uint8_t Alpha(int x, int y) const { return rgba[(size_t(y) * width + x) * 4 + 3]; }
};

Pixels ReadPng(const std::string& path);
