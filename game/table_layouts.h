// Layout of two tables several files index: each picture slot's size in m_ImgSize, and
// the highscore lists in m_HiScore.
#pragma once

#include <algorithm>

#include "game/my_app.h"

// A picture slot's numbers as its loading recorded them.
inline int& CellWidth(c_MyApp& g, int slot) { return g.m_ImgSize[3 * slot]; }
inline int& CellHeight(c_MyApp& g, int slot) { return g.m_ImgSize[3 * slot + 1]; }
inline int& FrameCount(c_MyApp& g, int slot) { return g.m_ImgSize[3 * slot + 2]; }

// The best ten of each difficulty, then the last ten of each, latest first. Group g holds
// difficulty g + 1's lists; the saved string also writes groups 3 to 7 by the same sums.
namespace high_scores {
constexpr int kListLength = 10, kDifficulties = 3;
constexpr int BestIndex(int g, int place) { return kListLength * g + place; }
constexpr int LastIndex(int g, int place) { return kListLength * (kDifficulties + g) + place; }
// A difficulty outside 1..3 counts as the nearest.
inline int GroupOf(int difficulty) { return std::clamp(difficulty, 1, kDifficulties) - 1; }
}  // namespace high_scores
