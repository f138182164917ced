#pragma once
// How logical pixels map to device pixels. A factor is kept as a whole number of
// thirtieths ("steps"): a board square of 30 logical pixels is then always a whole
// number of device pixels, every square of the board the same size, and the mapping
// is exact integer arithmetic with no drift across the board.

#include <QRect>
#include <QRegion>
#include <QSize>

namespace platform {

constexpr int STEPS_PER_PIXEL = 30;
constexpr int MIN_STEPS = STEPS_PER_PIXEL; // never smaller than the handheld
constexpr int MAX_STEPS = 12 * STEPS_PER_PIXEL;

// The device edge of a logical coordinate: logical pixel x covers the device pixels
// from deviceEdge(x) up to but not including deviceEdge(x + 1).
int deviceEdge(int logical, int steps);
// The logical pixel whose device pixels include device pixel d (also for d < 0).
int logicalOf(int device, int steps);
QRect deviceRect(const QRect& logical, int steps);
QRegion deviceRegion(const QRegion& logical, int steps);
QSize deviceSize(const QSize& logical, int steps);
// The smallest logical rectangle whose device pixels cover the device rectangle.
QRect logicalCover(const QRect& device, int steps);

// The largest factor at which a logical area fits into the device area, in steps.
int stepsToFit(const QSize& logical, const QSize& device);

} // namespace platform
