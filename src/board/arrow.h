#pragma once
// The outline of the last-move arrow.

#include "platform/ui/geometry.h"

constexpr int ARROW_POINTS = 9; // the closed outline: the eighth point joins the first again

// The arrow from tail to head for squares of squareSize: nine points into
// points (of capacity entries), the ninth repeating the first, which is left out
// when only eight fit; 0 when fewer fit or tail and head coincide. The shaft is 0.18 squares wide,
// the head starts 0.414 squares before its tip, its barbs stand 0.306 squares from the axis and the
// tail carries a notch.
int arrowPolygon(platform::Point tail, platform::Point head, int squareSize,
                 platform::Point* points, int capacity);
