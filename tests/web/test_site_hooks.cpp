// For the browser tests and the site's speed measurement only, never in the shipped site:
// the game with three switches the page can throw. The check-in is on at start when the
// page's "checkin" query parameter names an address to send it to; setting
// `Module.raiseRuntimeError` makes the next update raise a runtime error, as a fault in the
// game would; and while `Module.heaviestRound` is set, a round under way is filled to its
// heaviest every 50 updates (as the desktop's round benchmark restores it); a round shows
// player 1 to the page as `Module.playerOne`. The program is linked with the start-up step
// wrapped, so all this is set up after the game's defaults.
#include <emscripten.h>

#include <string>

#include "framework/app.h"
#include "game/check_in.h"
#include "game/codes.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/round_records.h"
#include "net/async_event.h"
#include "tests/support/heaviest_round.h"

namespace {

constexpr int kRefillEvery = 50;  // updates

EM_JS(int, CheckInAddressBytes, (),
      { return lengthBytesUTF8(new URLSearchParams(location.search).get("checkin") || ""); });
EM_JS(void, CopyCheckInAddress, (char* to, int bytes),
      { stringToUTF8(new URLSearchParams(location.search).get("checkin") || "", to, bytes); });
EM_JS(int, RuntimeErrorAsked, (), { return Module.raiseRuntimeError ? 1 : 0; });
EM_JS(int, HeaviestRoundAsked, (), { return Module.heaviestRound ? 1 : 0; });
EM_JS(void, ShowPlayerOne, (float health, float x, float attack),
      { Module.playerOne = {health : health, x : x, attack : attack}; });

// Pumped with the game's events each update.
class c_TestSwitches : public Object, public c_IAsyncEventSource {
public:
    int p_UpdateAsyncEvents() override {
        if (RuntimeErrorAsked()) qvError("Raised by the test page");
        auto* app = static_cast<c_MyApp*>(qv_app__app);
        if (HeaviestRoundAsked() && app && app->m_Mode == mode::kRound &&
            updates_++ % kRefillEvery == 0) {
            FillHeaviestRound(*app);
        }
        if (app && app->m_Mode == mode::kRound) {
            using namespace round_records;
            const float* p1 = Record(*app, kFirstPlayer);
            ShowPlayerOne(p1[kHealth], p1[kX], p1[kAttack]);
        }
        return 0;
    }

private:
    int updates_ = 0;
};

}  // namespace

// qvInit under the linker's wrapping of its mangled name.
extern "C" void __real__Z6qvInitv();

extern "C" void __wrap__Z6qvInitv() {
    __real__Z6qvInitv();
    std::string address(CheckInAddressBytes() + 1, '\0');
    CopyCheckInAddress(address.data(), int(address.size()));
    address.pop_back();
    if (!address.empty()) {
        qv_Vortan_J_On_Allow = 1;
        qv_Vortan_CheckInUrl = String(address.c_str());
    }
    qv_asyncevent_AddAsyncEventSource(new c_TestSwitches);
}
