#pragma once
// Which page of a sideways paging view an offset shows. Plain arithmetic,
// free of Qt, so that the Qt-free logic and its tests can use it; it is
// compiled into calcudex_logic.

// The page shown at a horizontal content offset: the page whose left half
// the offset has passed (0 for a view without width).
int pageAtOffset(double dbOffsetX, double dbWidth);
