#pragma once
#include <functional>
#include <vector>

// The order in which the positions around the visible screen are requested:
// the screen first, then up to one screen ahead, then 0.8 screen behind, then
// one more screen ahead, so the downloader serves what is on screen first.
class CQX_WaitingDisplayList
{
public:
    static constexpr int kMaxProducts = 20000;

    // first/last: the visible range [first, last); total: the mode's product
    // count (capped at 20000); hasCard: whether the wall already shows a position.
    static std::vector<int> Build(int first, int last, int rows, int columns, int total,
                                  const std::function<bool(int)>& hasCard);
};
