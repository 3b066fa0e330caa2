#include "tests/support/heaviest_round.h"

#include "game/codes.h"
#include "game/my_app.h"
#include "game/particle_records.h"
#include "game/round_records.h"

void FillHeaviestRound(c_MyApp& app) {
    using namespace round_records;
    app.m_Backdrop = 1;
    app.m_Joined = 1;
    for (int p = kFirstPlayer; p <= kLastPlayer; ++p) app.p_AddPlayer(p, 80.0f + 140 * p, 448);
    for (int r = kFirstOpponent; r <= kLastRecord; ++r) {
        app.p_AddPlayer(r, 40.0f + 6 * (r - kFirstOpponent), 448);
        Record(app, r)[kDepth] = 16.0f + (r * 7) % 80;
    }
    using namespace particle_records;
    for (int i = 0; i <= app.m_ParticleMax; ++i) Particle(app, i)[kType] = kFree;
    for (int i = 0; i <= app.m_ParticleMax; ++i) {
        int type = i % 3 == 0 ? kFloatingNumber : kSpark + i % 2;
        app.p_ThrowParticle(320, 240, type, ink::kRed + i % 9);
        Particle(app, i)[kLife] = 1.3f;
        if (type == kFloatingNumber) Particle(app, i)[kFrame] = 100;
    }
    app.m_SpawnTimer = 1000000;
}
