// A minimal program on the host and framework for whole-program tests: it runs at 60
// updates per second, clears its window each frame, and reports its lifecycle and the
// keys it sees on standard output. With HOST_TEST_APP_THROW set, its first update throws.
#include <cstdlib>
#include <string>

#include "framework/app.h"
#include "framework/input.h"
#include "framework/module_globals.h"
#include "graphics/graphics.h"
#include "host/pellix_game.h"
#include "host/startup.h"

namespace {

std::string Number(int n) { return std::to_string(n); }

void Say(const std::string& line) { qvPrint(String(line.c_str())); }

class c_TestApp : public c_App {
public:
    int m_updates = 0;
    int m_suspends = 0;
    int m_resumes = 0;

    c_TestApp* m_new() { return this; }
    int p_OnCreate() override {
        qv_app_SetUpdateRate(60);
        Say("created " + Number(qv_app_DeviceWidth()) + "x" + Number(qv_app_DeviceHeight()));
        return 0;
    }
    int p_OnUpdate() override {
        if (std::getenv("HOST_TEST_APP_THROW")) throw new ThrowableObject;
        ++m_updates;
        if (m_updates % 60 == 0) Say("updates " + Number(m_updates));
        for (int key = 1; key < 512; ++key) {
            if (qv_input_KeyHit(key)) Say("key " + Number(key));
        }
        while (int c = qv_input_GetChar()) Say("char " + Number(c));
        return 0;
    }
    int p_OnRender() override {
        if (qv_graphics_renderDevice) qv_graphics_renderDevice->Cls(0, 0, 64);
        return 0;
    }
    int p_OnSuspend() override {
        Say("suspend " + Number(++m_suspends));
        return 0;
    }
    int p_OnResume() override {
        Say("resume " + Number(++m_resumes));
        return 0;
    }
};

}  // namespace

void qvInit() { qv_app_InitModuleGlobals(); }

void qvCreateApp() { (new c_TestApp)->m_new()->c_App::m_new(); }

int main(int argc, char** argv) { return QvPellixGame::Main(argc, const_cast<const char**>(argv)); }
