// Parses arbitrary 16-bit text as a URL and checks the parts against the text.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "net/url.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    gc_collect_all();  // nothing is rooted: the previous input's objects go
    std::vector<uint16_t> chars;
    for (size_t i = 0; i + 1 < size; i += 2) chars.push_back(uint16_t(data[i] | data[i + 1] << 8));
    String text(chars.data(), int(chars.size()));
    c_Url* url = (new c_Url)->m_new(text, String("http"), 80);
    if (url->p_Path().IsEmpty() || url->p_Path()[0] != '/') std::abort();
    if (!(url->p_Text() == text)) std::abort();
    // Every part is a piece of the text (the path "/" may be the default).
    for (const String& part : {url->p_Domain(), url->p_Username(), url->p_Password(),
                               url->p_Query(), url->p_Fragment()}) {
        if (!part.IsEmpty() && text.Find(part) < 0) std::abort();
    }
    if (url->p_Domain().Contains(String("/")) || url->p_Query().Contains(String("#"))) std::abort();
    if (url->p_FullPath().Length() > text.Length() + 1) std::abort();
    return 0;
}
