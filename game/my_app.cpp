// Construction and collector marking of the game object.
#include "game/my_app.h"

#include "audio/audio_module.h"
#include "game/bindings.h"
#include "game/codes.h"
#include "game/draw_command.h"
#include "game/round_records.h"
#include "graphics/graphics.h"
#include "net/http_request.h"

c_MyApp::c_MyApp() : m_HttpReply("N/A") {
    // The tables are allocated once here and only ever cleared in place.
    gc_assign(m_Img, Array<c_Image*>(picture::kSlots));
    gc_assign(m_ImgSize, Array<int>(3 * picture::kSlots));
    gc_assign(m_Sfx, Array<c_Sound*>(sound::kSlots));
    gc_assign(m_ChannelMap, Array<int>(33));
    gc_assign(m_Badge, Array<bool>(256));
    gc_assign(m_ICade, Array<int>(20));
    gc_assign(m_Setting, Array<int>(setting::kCount));
    gc_assign(m_HiScore, Array<int>(150));
    gc_assign(m_StoredLastTen, Array<int>(30));
    gc_assign(m_DrawList, Array<float>(kDrawListFloats));
    gc_assign(m_TouchDown, Array<int>(10));
    gc_assign(m_TouchX, Array<int>(10));
    gc_assign(m_TouchY, Array<int>(10));
    gc_assign(m_Trail, Array<float>(512));
    gc_assign(m_BadgeQueue, Array<int>(15));
    gc_assign(m_BadgeTimer, Array<int>(15));
    gc_assign(m_Plr, Array<float>(5120));
    gc_assign(m_Grid, Array<float>(round_records::kGridFloats));
    gc_assign(m_Star, Array<float>(5100));
    gc_assign(m_Particle, Array<float>(5100));
    gc_assign(m_Binding, Array<int>(binding::kSize));
    ResetBindings(*this);
}

c_MyApp* c_MyApp::m_new() { return this; }

void c_MyApp::mark() {
    c_App::mark();
    gc_mark_q(m_Http);
    gc_mark_q(m_Img);
    gc_mark_q(m_ImgSize);
    gc_mark_q(m_Sfx);
    gc_mark_q(m_ChannelMap);
    gc_mark_q(m_Badge);
    gc_mark_q(m_ICade);
    gc_mark_q(m_Setting);
    gc_mark_q(m_HiScore);
    gc_mark_q(m_StoredLastTen);
    gc_mark_q(m_DrawList);
    gc_mark_q(m_TouchDown);
    gc_mark_q(m_TouchX);
    gc_mark_q(m_TouchY);
    gc_mark_q(m_Trail);
    gc_mark_q(m_BadgeQueue);
    gc_mark_q(m_BadgeTimer);
    gc_mark_q(m_Plr);
    gc_mark_q(m_Grid);
    gc_mark_q(m_Star);
    gc_mark_q(m_Particle);
    gc_mark_q(m_Binding);
}
