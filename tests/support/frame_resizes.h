// The sizes a dialog with a sizing frame is driven to, the same on both
// platforms: the frame's growth over the form's size. A negative growth is
// refused: the form's size is the smallest the frame allows.
#pragma once

#include <algorithm>
#include <array>
#include <string_view>

namespace frame_resizes {

struct Resize {
    std::string_view name;
    int growX;
    int growY;
    // What the frame may grow by: never below the form's size.
    int AllowedX() const { return std::max(growX, 0); }
    int AllowedY() const { return std::max(growY, 0); }
};

inline constexpr std::array<Resize, 4> kResizes{{
    {"Larger", 100, 50},
    {"OnlyWider", 120, 0},
    {"SmallerThanTheForm", -300, -200},
    {"TallerButNarrower", -40, 80},
}};

}  // namespace frame_resizes
