#include "worldtime/terminator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace worldtime {
namespace {

constexpr double kDeg = 57.29577951308232;
constexpr int kSteps = 100;

std::int16_t halfWidth(long value) {
    // A row whose span comes out empty still shows the single lit pixel of its edge.
    if (value == 0)
        return 1;
    return static_cast<std::int16_t>(std::clamp<long>(value, -1, 32767));
}

// Lights whole the rows between the pole facing the sun and the first row the boundary
// reaches, which the traced circle never visits. That first row keeps its own width: at an
// equinox the boundary reaches the pole itself and nothing is filled.
void fillPolarCap(std::vector<std::int16_t>& entry, double declination, int width) {
    int height = static_cast<int>(entry.size());
    int start = declination < 0 ? height - 1 : 0;
    int step = declination < 0 ? -1 : 1;
    int reached = start;
    while (reached != height / 2 && entry[reached] == -1) reached += step;
    if (reached == height / 2)
        return;
    for (int row = start; row != reached; row += step) entry[row] = halfWidth(width / 2);
}

}  // namespace

std::vector<std::int16_t> terminatorTable(double declination, int width, int height) {
    if (width < 1 || height < 1)
        return {};
    std::vector<std::int16_t> entry(static_cast<std::size_t>(height), -1);
    // The circle is traced for the mirrored declination and stored with rows mirrored, so
    // that entry i ends up describing the i-th row from the top.
    double sd = std::sin(-declination / kDeg);
    double cd = std::cos(-declination / kDeg);
    int previousRow = 0;
    long previousColumn = 0;
    for (int i = 0; i <= kSteps; ++i) {
        double t = -std::numbers::pi / 2 + i * std::numbers::pi / kSteps;
        double x = -sd * std::sin(t);
        double y = std::cos(t);
        double z = std::clamp(cd * std::sin(t), -1.0, 1.0);
        double longitude = (x == 0 && y == 0) ? 0 : std::atan2(y, x) * kDeg;
        double latitude = std::asin(z) * kDeg;
        // The poles themselves would land one row beyond the map.
        int row =
            std::clamp(static_cast<int>(height - (latitude + 90) * height / 180), 0, height - 1);
        auto column = static_cast<long>(longitude * width / 360);
        if (i > 0) {
            if (row == previousRow) {
                entry[height - 1 - row] = halfWidth(column);
            } else {
                double slope = static_cast<double>(column - previousColumn) / (row - previousRow);
                int step = row > previousRow ? 1 : -1;
                for (int r = previousRow; r != row; r += step) {
                    auto value = previousColumn +
                                 static_cast<long>(std::floor(slope * (r - previousRow) + 0.5));
                    entry[height - 1 - r] = halfWidth(value);
                }
            }
        }
        previousRow = row;
        previousColumn = column;
    }
    // The interpolation stops short of the last point; its row (the pole itself at an
    // equinox) would otherwise stay dark.
    if (entry[height - 1 - previousRow] == -1) {
        entry[height - 1 - previousRow] = halfWidth(previousColumn);
    }
    fillPolarCap(entry, declination, width);
    return entry;
}

platform::Point projectCity(double latitude, double longitude, int width, int height) {
    double x = (longitude + 180) / 360 * width;
    double y = (90 - latitude) * height / 180;
    if (!std::isfinite(x))
        x = 0;
    if (!std::isfinite(y))
        y = 0;
    return {std::clamp(static_cast<int>(std::clamp(x, -1.0, width * 2.0)), 0, width - 1),
            std::clamp(static_cast<int>(std::clamp(y, -1.0, height * 2.0)), 0, height - 1)};
}

}  // namespace worldtime
