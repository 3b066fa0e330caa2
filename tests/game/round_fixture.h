// The headless game object set up for driving rounds update by update with scripted
// controls, the round's random sequence started from a fixed seed.
#pragma once

#include <string>

#include "game/round_records.h"
#include "tests/game/game_fixture.h"

class RoundFixture : public GameFixture {
protected:
    static constexpr uint32_t kSeed = 20261207;

    void SetUp() override;

    // Sets a round up on the given difficulty with a still backdrop (the star field
    // reseeds the generator from the clock) and reseeds the generator.
    void StartRound(int difficulty = 2);
    // Round updates: p_Game, then the input device's end of update.
    void Play(int count = 1);
    // Player p joined by pad p - 1 and standing on the floor.
    void JoinAndLand(int p);
    // Puts opponent r on the floor at x, facing the given way, resting for a long time.
    void PlaceOpponent(int r, float x, float facing);

    float* Fighter(int r) { return round_records::Record(*app, r); }
    int Opponents();
    // Glyphs drawn with the font on the line at y (spaces draw no glyph).
    std::string TextAt(float y) const;
    float FloorY() const { return qv_Vortan_jscrh - 32; }
};
