// For the browser test only, never in the shipped site: the game with its check-in switched
// on at start, sent to the address in the page's "checkin" query parameter. The program is
// linked with the start-up step wrapped, so the switch is set after the game's defaults.
#include <emscripten.h>

#include <string>

#include "game/check_in.h"
#include "game/globals.h"

namespace {

EM_JS(int, CheckInAddressBytes, (),
      { return lengthBytesUTF8(new URLSearchParams(location.search).get("checkin") || ""); });
EM_JS(void, CopyCheckInAddress, (char* to, int bytes), {
    stringToUTF8(new URLSearchParams(location.search).get("checkin") || "", to, bytes);
});

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
}
