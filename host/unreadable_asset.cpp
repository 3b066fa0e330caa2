#include "host/unreadable_asset.h"

#include "runtime/errors.h"

void QvReportUnreadable(QvAsset kind, const String& path) {
    const String dataFolder("pellix://data/");
    const String name = path.StartsWith(dataFolder) ? path.Slice(dataFolder.Length()) : path;
    qvPrint(String(kind == QvAsset::kPicture ? "Picture" : "Sound") + String(" not readable: ") +
            name);
}
