#include "framework/dialog_manager/dialog_sizing.h"

#include <algorithm>
#include <cstddef>

namespace framework {

std::vector<Following> FollowingOf(const std::vector<ControlBox>& boxes,
                                   const std::vector<bool>& growing) {
    std::vector<Following> following(boxes.size(), Following::Stays);
    for (std::size_t index = 0; index < boxes.size(); ++index) {
        if (growing[index]) {
            following[index] = Following::Grows;
            continue;
        }
        for (std::size_t other = 0; other < boxes.size(); ++other) {
            const ControlBox& above = boxes[other];
            if (growing[other] && boxes[index].y >= above.y + above.height &&
                boxes[index].x + boxes[index].width > above.x) {
                following[index] = Following::FollowsCorner;
            }
        }
    }
    return following;
}

ControlBox Place(const ControlBox& atFormSize, Following following, int growX, int growY) {
    ControlBox placed = atFormSize;
    if (following == Following::Grows) {
        placed.width = std::max(0, atFormSize.width + growX);
        placed.height = std::max(0, atFormSize.height + growY);
    } else if (following == Following::FollowsCorner) {
        placed.x += growX;
        placed.y += growY;
    }
    return placed;
}

}  // namespace framework
