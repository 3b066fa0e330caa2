#include "host/data_path.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "host/file_name.h"

String qv_data_FixDataPath(String path) {
    int colon = path.Find(":/");
    if (colon != -1 && path.Find("/") == colon + 1) return path;
    if (path.StartsWith("./") || path.StartsWith("/")) return path;
    return String("pellix://data/") + path;
}

String QvResolveLocation(const String& path, const String& appDir) {
    if (!path.StartsWith("pellix:")) return path;
    if (path.StartsWith("pellix://data/")) return appDir + "/data/" + path.Slice(14);
    if (path.StartsWith("pellix://internal/")) return appDir + "/internal/" + path.Slice(18);
    if (path.StartsWith("pellix://external/")) return appDir + "/external/" + path.Slice(18);
    return String();
}

String QvDirectoryOfExecutable(const std::string& exePath) {
    size_t slash = exePath.rfind('/');
    if (slash == std::string::npos) std::abort();
    return QvDecodeFileName(exePath.substr(0, slash));
}

String QvApplicationDirectory() {
    char buffer[PATH_MAX + 1];
    ssize_t n = readlink("/proc/self/exe", buffer, PATH_MAX);
    if (n <= 0) std::abort();
    return QvDirectoryOfExecutable(std::string(buffer, size_t(n)));
}
