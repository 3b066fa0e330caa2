// For the browser tests only, never in the shipped site: the game with two switches the
// page can throw. The check-in is on at start, sent to the address in the page's "checkin"
// query parameter; and setting `Module.raiseRuntimeError` makes the next update raise a
// runtime error, as a fault in the game would. The program is linked with the start-up
// step wrapped, so both are set up after the game's defaults.
#include <emscripten.h>

#include <string>

#include "game/check_in.h"
#include "game/globals.h"
#include "net/async_event.h"

namespace {

EM_JS(int, CheckInAddressBytes, (),
      { return lengthBytesUTF8(new URLSearchParams(location.search).get("checkin") || ""); });
EM_JS(void, CopyCheckInAddress, (char* to, int bytes),
      { stringToUTF8(new URLSearchParams(location.search).get("checkin") || "", to, bytes); });
EM_JS(int, RuntimeErrorAsked, (), { return Module.raiseRuntimeError ? 1 : 0; });

// Pumped with the game's events each update.
class c_ErrorSwitch : public Object, public c_IAsyncEventSource {
public:
    int p_UpdateAsyncEvents() override {
        if (RuntimeErrorAsked()) qvError("Raised by the test page");
        return 0;
    }
};

}  // namespace

// qvInit under the linker's wrapping of its mangled name.
extern "C" void __real__Z6qvInitv();

extern "C" void __wrap__Z6qvInitv() {
    __real__Z6qvInitv();
    std::string address(CheckInAddressBytes() + 1, '\0');
    CopyCheckInAddress(address.data(), int(address.size()));
    address.pop_back();
    qv_Vortan_J_On_Allow = 1;
    qv_Vortan_CheckInUrl = String(address.c_str());
    qv_asyncevent_AddAsyncEventSource(new c_ErrorSwitch);
}
