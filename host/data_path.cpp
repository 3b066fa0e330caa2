#include "host/data_path.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>

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

String QvApplicationDirectory() {
    char buffer[PATH_MAX + 1];
    ssize_t n = readlink("/proc/self/exe", buffer, PATH_MAX);
    if (n <= 0) std::abort();
    String exe = String::FromBytes(reinterpret_cast<const unsigned char*>(buffer), int(n));
    exe = exe.Replace("\\", "/");
    int slash = exe.FindLast("/");
    if (slash < 0) std::abort();
    return exe.Slice(0, slash);
}
