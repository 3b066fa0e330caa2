// Opening a web address in a browser page: a new tab or window.
#include <emscripten.h>

#include "host/glfw_game.h"

namespace {

// A new tab or window; its address is never run as script.
EM_JS(void, OpenAddress, (const char* address), {
    const text = UTF8ToString(address);
    const scheme = text.slice(0, text.indexOf(":") + 1).toLowerCase();
    if (scheme == "http:" || scheme == "https:") window.open(text, "_blank", "noopener");
});

}  // namespace

void QvGlfwGame::OpenUrl(String url) { OpenAddress(url.ToUtf8().c_str()); }
