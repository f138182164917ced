#include "platform/ui/scaling.h"

#include <algorithm>

namespace platform {
namespace {

int floorDiv(long long value, int divisor) {
    const long long quotient = value / divisor;
    return int(value % divisor != 0 && (value < 0) != (divisor < 0) ? quotient - 1 : quotient);
}

} // namespace

int deviceEdge(int logical, int steps) {
    // Rounds to the nearest device pixel edge, halves up.
    return floorDiv(static_cast<long long>(logical) * steps + STEPS_PER_PIXEL / 2, STEPS_PER_PIXEL);
}

int logicalOf(int device, int steps) {
    // The largest x with deviceEdge(x) <= device.
    return floorDiv(static_cast<long long>(device) * STEPS_PER_PIXEL + STEPS_PER_PIXEL / 2 - 1,
                    steps);
}

QRect deviceRect(const QRect& logical, int steps) {
    if (logical.isEmpty()) {
        return QRect();
    }
    const int left = deviceEdge(logical.left(), steps);
    const int top = deviceEdge(logical.top(), steps);
    return QRect(left, top, deviceEdge(logical.left() + logical.width(), steps) - left,
                 deviceEdge(logical.top() + logical.height(), steps) - top);
}

QRegion deviceRegion(const QRegion& logical, int steps) {
    if (steps == STEPS_PER_PIXEL) {
        return logical;
    }
    QRegion device;
    for (const QRect& part : logical) {
        device += deviceRect(part, steps);
    }
    return device;
}

QSize deviceSize(const QSize& logical, int steps) {
    return QSize(deviceEdge(logical.width(), steps), deviceEdge(logical.height(), steps));
}

QRect logicalCover(const QRect& device, int steps) {
    if (device.isEmpty()) {
        return QRect();
    }
    const int left = logicalOf(device.left(), steps);
    const int top = logicalOf(device.top(), steps);
    return QRect(QPoint(left, top),
                 QPoint(logicalOf(device.right(), steps), logicalOf(device.bottom(), steps)));
}

int stepsToFit(const QSize& logical, const QSize& device) {
    if (logical.isEmpty()) {
        return MIN_STEPS;
    }
    int steps = std::min(device.width() * STEPS_PER_PIXEL / logical.width(),
                         device.height() * STEPS_PER_PIXEL / logical.height());
    steps = std::clamp(steps, MIN_STEPS, MAX_STEPS);
    // Rounding of the edges may add a pixel: step down until it truly fits.
    while (steps > MIN_STEPS && (deviceEdge(logical.width(), steps) > device.width() ||
                                 deviceEdge(logical.height(), steps) > device.height())) {
        --steps;
    }
    return steps;
}

} // namespace platform
