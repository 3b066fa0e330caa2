// The program's two start-up steps: module globals with their defaults and the
// collector's roots, then the game object.
#include "host/startup.h"

#include "framework/game_delegate.h"
#include "framework/module_globals.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "net/async_event.h"
#include "net/string_stack.h"

namespace {

// Roots whose globals hold interface references: the object behind one is marked.
template <class I>
void RootInterface(I*& global) {
    gc_add_root(&global, [](void* slot) { gc_mark_interface(*static_cast<I**>(slot)); });
}

}  // namespace

void qvInit() {
    qv_app_InitModuleGlobals();
    qv_Vortan_isOuya = 0;
    qv_Vortan_overscan = 0.0f;
    qv_Vortan_J_On_Allow = 0;
    qv_Vortan_GameNum = 415;
    gc_assign(qv_asyncevent__sources, (new c_Stack3)->m_new());
    qv_Vortan_UseHDImages = 1;
    qv_Vortan_DebugMode = 0;
    qv_Vortan_rawscrw = 640.0f;
    qv_Vortan_rawscrh = 480.0f;
    qv_Vortan_jscrw = 640.0f;
    qv_Vortan_jscrh = 480.0f;
    qv_Vortan_iCadeControls = 0;
    qv_asyncevent__current = nullptr;
    c_Stack3::m_NIL = nullptr;
    qv_Vortan_HasMusicStream = 1;
    qv_random_Seed = 1234;
    qv_Vortan_InitMenuSet();
    qv_Vortan_InitCreditText();
    qv_Vortan_OnScreenControls = 0;
    qv_Vortan_AccelerometerControls = 0;
    c_Stack2::m_NIL = String();
    qv_Vortan_J_On_Able = 0;

    gc_root(qv_asyncevent__sources);
    RootInterface(qv_asyncevent__current);
    RootInterface(c_Stack3::m_NIL);
    gc_root(qv_Vortan_MenuSet);
    gc_root(qv_Vortan_CreditText);
}

void qvCreateApp() {
    c_MyApp* app = (new c_MyApp)->m_new();
    app->c_App::m_new();
}
