#pragma once
// The day-night boundary on a plate carrée world map W x H pixels (longitude -180 at the
// left edge, latitude 90 at the top), and the position of a place on such a map.

#include <cstdint>
#include <vector>

#include "platform/api/types.h"

namespace worldtime {

// One entry per map row, top row first: the half-width in pixels of the row's lit span,
// which is centred on the sub-solar column; -1 for a row without light, width / 2 for a row
// lit all round. Traced along the great circle 90 degrees from the sub-solar point in 100
// steps and filled in between; the rows beyond the circle around the pole that faces the sun
// are lit whole.
std::vector<std::int16_t> terminatorTable(double declination, int width, int height);

// The pixel of a place: x = trunc((lon + 180) / 360 * W), y = trunc((90 - lat) * H / 180),
// kept inside the map.
platform::Point projectCity(double latitude, double longitude, int width, int height);

}  // namespace worldtime
