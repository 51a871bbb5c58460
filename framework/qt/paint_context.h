// What a paint context draws with: a painter on the window while it handles a
// paint event, nothing otherwise.
#pragma once

#include <QPainter>
#include <optional>

class QWidget;

namespace framework {

class PaintContext {
public:
    explicit PaintContext(QWidget* widget, bool painting);

    bool IsActive() const { return painter_.has_value(); }
    QPainter* Painter() { return painter_ ? &*painter_ : nullptr; }
    QWidget* Widget() const { return widget_; }

private:
    QWidget* widget_;
    std::optional<QPainter> painter_;
};

}  // namespace framework
