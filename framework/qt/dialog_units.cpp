#include "framework/qt/dialog_units.h"

#include <QFontMetrics>
#include <QString>
#include <cstdint>
#include <limits>

namespace framework {

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) {
        return -1;
    }
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    const std::int64_t half = (denominator < 0 ? -denominator : denominator) / 2;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t magnitude = (product < 0 ? -product : product) + half;
    const std::int64_t quotient =
        magnitude / (denominator < 0 ? -std::int64_t{denominator} : std::int64_t{denominator});
    if (quotient > std::numeric_limits<int>::max()) {
        return -1;
    }
    return static_cast<int>(negative ? -quotient : quotient);
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
    static const QString kAlphabet =
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(kAlphabet);
    return {(width / 26 + 1) / 2, metrics.height()};
}

int HorizontalPixels(int dialogUnits, DialogBaseUnits base) {
    return MulDiv(dialogUnits, base.x, 4);
}

int VerticalPixels(int dialogUnits, DialogBaseUnits base) {
    return MulDiv(dialogUnits, base.y, 8);
}

QRect PixelRect(int x, int y, int width, int height, DialogBaseUnits base) {
    return {HorizontalPixels(x, base), VerticalPixels(y, base), HorizontalPixels(width, base),
            VerticalPixels(height, base)};
}

}  // namespace framework
