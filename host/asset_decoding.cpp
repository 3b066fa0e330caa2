// Picture and sound files handed to their decoders.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

#include "audio/sound_file.h"
#include "host/glfw_game.h"
#include "host/unreadable_asset.h"

unsigned char* QvGlfwGame::LoadImageData(String path, int* width, int* height, int* depth) {
    FILE* file = OpenFile(path, "rb");
    if (!file) return nullptr;
    unsigned char* pixels = stbi_load_from_file(file, width, height, depth, 0);
    fclose(file);
    if (!pixels) return nullptr;
    gc_ext_malloced(*width * *height * *depth);
    return pixels;
}

unsigned char* QvGlfwGame::DecodeImageData(const unsigned char* bytes, int length, int* width,
                                           int* height, int* depth) {
    unsigned char* pixels = stbi_load_from_memory(bytes, length, width, height, depth, 0);
    if (!pixels) return nullptr;
    gc_ext_malloced(*width * *height * *depth);
    return pixels;
}

unsigned char* QvGlfwGame::LoadAudioData(String path, int* length, int* channels, int* format,
                                         int* hertz) {
    FILE* file = OpenFile(path, "rb");
    if (!file) return nullptr;
    String name = path.ToLower();
    unsigned char* samples = nullptr;
    if (name.EndsWith(".wav")) {
        samples = LoadWAV(file, length, channels, format, hertz);
    } else if (name.EndsWith(".ogg")) {
        samples = LoadOGG(file, length, channels, format, hertz);
    }
    fclose(file);
    if (!samples) {
        QvReportUnreadable(QvAsset::kSound, path);
        return nullptr;
    }
    gc_ext_malloced(*length * *channels * *format);
    return samples;
}
