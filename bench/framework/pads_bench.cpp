// One update's game-pad poll: the host's port table and layout mapping for four pads
// feeding the input device's keys, steady, and with a pad pulled out or plugged in at
// every update.
#include <benchmark/benchmark.h>

#include "framework/input.h"
#include "host/glfw_game.h"
#include "tests/game/scripted_pads.h"

namespace {

// Four pads of every kind on the host, the input device installed for it.
struct Rig {
    QvGlfwGame host;
    ScriptedPads pads;
    Rig() {
        static c_InputDevice* device = nullptr;
        if (!device) {
            gc_root(device);
            device = (new c_InputDevice)->m_new();
        }
        qv_input_SetInputDevice(device);
        host.SetJoystickSource(&pads);
        const ScriptedPads::Kind kinds[4] = {ScriptedPads::kGamepad, ScriptedPads::kXbox,
                                             ScriptedPads::kGeneric, ScriptedPads::kGamepad};
        for (int id = 0; id < 4; ++id) {
            pads.Plug(id, kinds[id]);
            pads.LeftStick(id, 0.5f, -1);
            pads.Press(id, ScriptedPads::kA);
        }
        Update();  // the four found
    }
    void Update() {
        qv_input_device->p_BeginUpdate();
        qv_input_device->p_EndUpdate();
    }
};

void BM_PollFourPads(benchmark::State& state) {
    Rig rig;
    for (auto _ : state) rig.Update();
    benchmark::DoNotOptimize(qv_input_JoyY(0, 3));
}
BENCHMARK(BM_PollFourPads);

// Every update pad 2 goes or comes back: the port table changes and a console line is
// written each time (to standard output; run with it sent to /dev/null).
void BM_PollFourPadsOnePluggedInOrPulledOut(benchmark::State& state) {
    Rig rig;
    bool plugged = true;
    for (auto _ : state) {
        if (plugged) {
            rig.pads.Unplug(2);
        } else {
            rig.pads.Plug(2, ScriptedPads::kGeneric);
        }
        plugged = !plugged;
        rig.Update();
    }
    benchmark::DoNotOptimize(qv_input_JoyDown(0, 2));
}
BENCHMARK(BM_PollFourPadsOnePluggedInOrPulledOut);

}  // namespace
