#pragma once

#include <cstdint>
#include <cstdlib>

namespace morvane::ui {

// Tells the second press of a double click from a press of its own, alike on every toolkit: a
// press of the left button that follows the previous one within the system's double-click time
// and distance is the second of a double click, wherever it lands, also on a window that the
// first click opened. The windows were made for a toolkit that raises Click once for a double
// click (and then DblClick, which no control handles), so that press, and its release, are no
// click of a control. A third press begins anew.
class DoubleClicks {
  public:
    // `interval` in milliseconds; the distance either way, in pixels.
    DoubleClicks(std::uint32_t interval, int distanceX, int distanceY)
        : interval_(interval), distanceX_(distanceX), distanceY_(distanceY) {}

    // A press at `time` (milliseconds of the system's clock, which may wrap) and a point of the
    // screen; `clickable`: on a control that raises Click. True when the press is to be dropped.
    bool dropPress(std::uint32_t time, int x, int y, bool clickable) {
        const bool second = seriesOpen_ && time - time_ < interval_ &&
                            std::abs(x - x_) <= distanceX_ && std::abs(y - y_) <= distanceY_;
        seriesOpen_ = !second;
        time_ = time;
        x_ = x;
        y_ = y;
        releaseDropped_ = second && clickable;
        return releaseDropped_;
    }

    // A release of the left button: true when it ends a dropped press.
    bool dropRelease() {
        const bool dropped = releaseDropped_;
        releaseDropped_ = false;
        return dropped;
    }

  private:
    std::uint32_t interval_;
    int distanceX_, distanceY_;
    bool seriesOpen_ = false;  // the previous press may be followed by a second one
    std::uint32_t time_ = 0;
    int x_ = 0, y_ = 0;
    bool releaseDropped_ = false;
};

}  // namespace morvane::ui
