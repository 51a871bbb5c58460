// How the controls of a dialog with a sizing frame follow its size, without a
// toolkit: both backends place their controls by it. The form's size is the
// smallest the frame allows, unless the screen's work area is smaller.
#pragma once

#include <vector>

namespace framework {

struct ControlBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

enum class Following {
    Stays,          // where the form puts it
    Grows,          // a multi-line edit: wider and taller with the dialog
    FollowsCorner,  // below a growing control: keeps its distance to the bottom right
};

// `growing[i]` says whether control i, at `boxes[i]` in the form's size, is a
// multi-line edit.
std::vector<Following> FollowingOf(const std::vector<ControlBox>& boxes,
                                   const std::vector<bool>& growing);

// Where a control goes when the dialog's client area is `growX` wider and
// `growY` taller than the form's (negative when the screen is smaller). A
// growing control never gets a negative size.
ControlBox Place(const ControlBox& atFormSize, Following following, int growX, int growY);

}  // namespace framework
