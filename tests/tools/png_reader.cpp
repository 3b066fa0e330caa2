#include "tests/tools/png_reader.h"

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

Pixels ReadPng(const std::string& path) {
    Pixels p;
    unsigned char* data = stbi_load(path.c_str(), &p.width, &p.height, &p.fileDepth, 4);
    if (!data) return Pixels{};
    p.rgba.assign(data, data + size_t(p.width) * p.height * 4);
    stbi_image_free(data);
    return p;
}
