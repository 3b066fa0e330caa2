// The program's two start-up steps: module globals with their defaults and the
// collector's roots, then the game object.
#include "host/startup.h"

#include "framework/game_delegate.h"
#include "framework/module_globals.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "net/async_event.h"
#include "net/interface_ref.h"
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
    gc_assign(qv_asyncevent__sources, (new c_Stack3)->m_new());
    qv_asyncevent__current = nullptr;
    c_Stack3::m_NIL = nullptr;
    c_Stack2::m_NIL = String();
    gc_root(qv_asyncevent__sources);
    RootInterface(qv_asyncevent__current);
    RootInterface(c_Stack3::m_NIL);
    qv_Vortan_InitGlobals();
}

void qvCreateApp() {
    c_MyApp* app = (new c_MyApp)->m_new();
    app->c_App::m_new();
}
