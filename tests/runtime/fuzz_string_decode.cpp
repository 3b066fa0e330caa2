// Decodes arbitrary bytes as loaded text, then checks that the text survives a UTF-8
// round trip and that slicing and splitting stay inside it.
#include <cstdlib>
#include <string>

#include "runtime/runtime.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    String text = String::FromBytes(data, int(size));
    std::string utf8 = text.ToUtf8();
    String back = String::FromBytes(reinterpret_cast<const unsigned char*>(utf8.data()),
                                    int(utf8.size()));
    bool skippedMark = text.Length() > 0 && text[0] == 0xFEFF;
    if (!(back == (skippedMark ? text.Slice(1) : text))) std::abort();
    if (size >= 2) {
        String sep = text.Slice(0, 1);
        Array<String> pieces = text.Split(sep);
        if (!(sep.Join(pieces) == text)) std::abort();
        String middle = text.Slice(int(data[0]) - 128, int(data[1]) - 128);
        if (middle.Length() > text.Length()) std::abort();
    }
    gc_collect_all();
    return 0;
}
