// An icon as loaded from the program's resources: every image of its .ico.
#pragma once

#include <QIcon>
#include <QImage>
#include <vector>

namespace framework {

struct IconData {
    std::vector<QImage> images;

    QIcon ToIcon() const;
    // The image of the given size, or the nearest larger one scaled down.
    QImage ImageOfSize(int pixels) const;
};

}  // namespace framework
