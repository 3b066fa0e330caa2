// Opening and reading files by path or location URL.
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "host/data_path.h"
#include "host/file_name.h"
#include "host/glfw_game.h"

FILE* QvGame::OpenFile(String path, String mode) {
    String file = PathToFilePath(path);
    if (file.IsEmpty()) return nullptr;
    return fopen(QvEncodeFileName(file).c_str(), mode.ToUtf8().c_str());
}

String QvGame::LoadString(String path) {
    FILE* file = OpenFile(path, "rb");
    if (!file) return String();
    String text = String::Load(file);
    fclose(file);
    return text;
}

unsigned char* QvGame::LoadData(String path, int* length) {
    FILE* file = OpenFile(path, "rb");
    if (!file) return nullptr;
    std::vector<unsigned char> bytes;
    unsigned char block[4096];
    size_t n;
    while ((n = fread(block, 1, sizeof block, file)) > 0)
        bytes.insert(bytes.end(), block, block + n);
    fclose(file);
    // One byte more than needed, so an empty file still gives a block.
    auto* data = static_cast<unsigned char*>(std::malloc(bytes.size() + 1));
    if (!data) return nullptr;
    if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
    *length = int(bytes.size());
    gc_ext_malloced(*length);
    return data;
}

void QvGame::GetDate(Array<int> date) {
    std::time_t now = std::time(nullptr);
    std::tm local;
    localtime_r(&now, &local);
    const int fields[7] = {local.tm_year + 1900,
                           local.tm_mon + 1,
                           local.tm_mday,
                           local.tm_hour,
                           local.tm_min,
                           local.tm_sec,
                           0};
    for (int i = 0; i < date.Length() && i < 7; ++i) date[i] = fields[i];
}

String QvGlfwGame::PathToFilePath(String path) {
    if (!path.StartsWith("pellix:")) return path;
    if (_appDir.IsEmpty()) _appDir = QvApplicationDirectory();
    return QvResolveLocation(path, _appDir);
}
