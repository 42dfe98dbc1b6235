#include "ui/UIPaging.h"

#include <cmath>

int pageAtOffset(double dbOffsetX, double dbWidth)
{
    if (!(dbWidth > 0))
        return 0;
    return static_cast<int>(std::floor((dbOffsetX - dbWidth / 2) / dbWidth)) + 1;
}
