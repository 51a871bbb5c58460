// Dialog units to pixels, as the original dialog manager converts them: from
// the template font's average character width and its height.
#pragma once

#include <QRect>

class QFont;

namespace framework {

struct DialogBaseUnits {
    int x;  // average width of "A".."Z" and "a".."z", rounded
    int y;  // the font's height
};

// number * numerator / denominator, rounded half away from zero; -1 when the
// denominator is 0 or the result does not fit an int.
int MulDiv(int number, int numerator, int denominator);

DialogBaseUnits BaseUnitsOf(const QFont& font);

int HorizontalPixels(int dialogUnits, DialogBaseUnits base);
int VerticalPixels(int dialogUnits, DialogBaseUnits base);
QRect PixelRect(int x, int y, int width, int height, DialogBaseUnits base);

}  // namespace framework
