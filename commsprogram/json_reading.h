#pragma once
// Reading a JSON answer safely: bounded nesting (the parser recurses), no exceptions out, and
// typed look-ups that say when a field is missing or of the wrong kind.

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <string_view>

#include "commsprogram/comms_errors.h"

namespace commsprogram {

constexpr int kMaxJsonDepth = 32;

// The parsed document; a Failure (code 6) for malformed, truncated or too deeply nested text.
std::optional<nlohmann::json> parseJson(std::string_view text, Failure& failure);

// Members of an object: nothing when the value is not an object, the member is missing or of
// another kind. A JSON null reads as missing.
const nlohmann::json* member(const nlohmann::json& object, std::string_view name);
std::optional<double> numberAt(const nlohmann::json& object, std::string_view name);
std::optional<std::string> textAt(const nlohmann::json& object, std::string_view name);
const nlohmann::json* arrayAt(const nlohmann::json& object, std::string_view name);
// Element i of an array as a number; nothing for null or another kind.
std::optional<double> numberIn(const nlohmann::json* array, std::size_t i);
std::optional<std::string> textIn(const nlohmann::json* array, std::size_t i);

}  // namespace commsprogram
