// Layout of two tables that several files index: each picture slot's size in m_ImgSize,
// and the highscore lists in m_HiScore.
#pragma once

#include <algorithm>

#include "game/my_app.h"

// A picture slot's numbers as its loading recorded them.
inline int& CellWidth(c_MyApp& g, int slot) { return g.m_ImgSize[3 * slot]; }
inline int& CellHeight(c_MyApp& g, int slot) { return g.m_ImgSize[3 * slot + 1]; }
inline int& FrameCount(c_MyApp& g, int slot) { return g.m_ImgSize[3 * slot + 2]; }

// The best ten of each difficulty, Easy first, then the last ten of each, the latest
// first. Group g holds difficulty g + 1's two lists; the saved string writes eight groups
// by the same sums, so the last five read elements of no list of their own.
namespace high_scores {
constexpr int kListLength = 10;
constexpr int kDifficulties = 3;
// Place j (0 the first) of group g's best list and of its last list.
constexpr int BestIndex(int g, int j) { return kListLength * g + j; }
constexpr int LastIndex(int g, int j) { return kListLength * (kDifficulties + g) + j; }
// The group of a difficulty (1..3); one outside counts as the nearest.
inline int GroupOf(int difficulty) { return std::clamp(difficulty, 1, kDifficulties) - 1; }
}  // namespace high_scores
