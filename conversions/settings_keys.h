#pragma once
// The settings the conversions subsystem owns. The chosen units of each category are kept
// under "conv_" + the category's shown name (chosenSettingName), a name no table can declare.

#include "core/settings_key.h"

namespace conversions::keys {

// The category the screen opens with: 1 currency, 2 temperature, 3 to 6 speed, length,
// weight and children's shoes.
constexpr core::settings::NumberKey ConversionMode{L"ConversionMode", 1, 1, 6,
                                                   core::settings::OutOfRange::UseDefault};

}  // namespace conversions::keys
