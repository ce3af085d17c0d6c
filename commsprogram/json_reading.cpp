#include "commsprogram/json_reading.h"

#include <cmath>

namespace commsprogram {
namespace {

// The deepest nesting of arrays and objects outside strings.
bool nestingWithin(std::string_view text, int limit) {
    int depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit)
                return false;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

}  // namespace

std::optional<nlohmann::json> parseJson(std::string_view text, Failure& failure) {
    if (!nestingWithin(text, kMaxJsonDepth)) {
        failure = fail(errorCode::Unreadable, "answer nested too deeply");
        return std::nullopt;
    }
    nlohmann::json document = nlohmann::json::parse(text, nullptr, false);
    if (document.is_discarded()) {
        failure = fail(errorCode::Unreadable, "answer is not well-formed JSON");
        return std::nullopt;
    }
    return document;
}

const nlohmann::json* member(const nlohmann::json& object, std::string_view name) {
    if (!object.is_object())
        return nullptr;
    auto it = object.find(name);
    if (it == object.end() || it->is_null())
        return nullptr;
    return &*it;
}

std::optional<double> numberAt(const nlohmann::json& object, std::string_view name) {
    const nlohmann::json* value = member(object, name);
    if (!value || !value->is_number())
        return std::nullopt;
    double number = value->get<double>();
    if (!std::isfinite(number))
        return std::nullopt;
    return number;
}

std::optional<std::string> textAt(const nlohmann::json& object, std::string_view name) {
    const nlohmann::json* value = member(object, name);
    if (!value || !value->is_string())
        return std::nullopt;
    return value->get<std::string>();
}

const nlohmann::json* arrayAt(const nlohmann::json& object, std::string_view name) {
    const nlohmann::json* value = member(object, name);
    return value && value->is_array() ? value : nullptr;
}

std::optional<double> numberIn(const nlohmann::json* array, std::size_t i) {
    if (!array || i >= array->size())
        return std::nullopt;
    const nlohmann::json& value = (*array)[i];
    if (!value.is_number())
        return std::nullopt;
    double number = value.get<double>();
    if (!std::isfinite(number))
        return std::nullopt;
    return number;
}

std::optional<std::string> textIn(const nlohmann::json* array, std::size_t i) {
    if (!array || i >= array->size() || !(*array)[i].is_string())
        return std::nullopt;
    return (*array)[i].get<std::string>();
}

}  // namespace commsprogram
