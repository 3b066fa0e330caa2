// Writes small uncompressed PNG files for the loaders to decode.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `pixels` holds width x height x channels bytes, rows top to bottom; channels 1 grey,
// 2 grey and alpha, 3 RGB, 4 RGBA.
std::string EncodePng(int width, int height, int channels, const std::vector<uint8_t>& pixels);
