#pragma once

#include <expected>
#include <utility>

// Unwraps a std::expected or returns its error from the enclosing function, which must
// return a std::expected with the same error type:
//   ORVEL_TRY(auto name, json::requiredString(object, "name"));
#define ORVEL_CONCAT_INNER(a, b) a##b
#define ORVEL_CONCAT(a, b) ORVEL_CONCAT_INNER(a, b)
#define ORVEL_TRY(declaration, expression) ORVEL_TRY_IMPL(ORVEL_CONCAT(orvelTry_, __LINE__), declaration, expression)
#define ORVEL_TRY_IMPL(temporary, declaration, expression)          \
    auto temporary = (expression);                                  \
    if (!temporary) return std::unexpected(std::move(temporary).error()); \
    declaration = std::move(temporary).value()
