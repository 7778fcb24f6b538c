#pragma once

// Exhaustive dispatch over the cases of a tagged value. Every value with cases has
//
//   value.visit([](const PlaybackState::Paused&) { ... },
//               [](const PlaybackState::Playing&) { ... },
//               [](const PlaybackState::Stopped&) { ... });
//
// which calls the one function that takes the held case. A visit that leaves a case out does
// not compile (the visit is constrained, not merely failing inside), so adding a case shows every
// place that must handle it. A generic `[](const auto&)` covers whatever is left, on purpose.

#include <concepts>
#include <type_traits>
#include <utility>
#include <variant>

namespace orvel {

template <class... Cases>
struct Overloaded : Cases... {
    using Cases::operator()...;
};
template <class... Cases>
Overloaded(Cases...) -> Overloaded<Cases...>;

namespace detail {
template <class Visitor, class Variant>
struct CoversEveryCase : std::false_type {};
template <class Visitor, class... Alternatives>
struct CoversEveryCase<Visitor, std::variant<Alternatives...>>
    : std::bool_constant<(std::invocable<const Visitor&, const Alternatives&> && ...)> {};
}  // namespace detail

// Whether `Visitor` can be called with every case of `Variant`.
template <class Visitor, class Variant>
concept coversEveryCase = detail::CoversEveryCase<Visitor, std::remove_cvref_t<Variant>>::value;

}  // namespace orvel

// The `visit` member of a tagged value whose cases are the std::variant `member`, constrained so
// that a visit leaving a case out does not compile.
#define ORVEL_EXHAUSTIVE_VISIT(member)                                                              \
    template <class... Cases>                                                                       \
        requires ::orvel::coversEveryCase<::orvel::Overloaded<std::decay_t<Cases>...>, decltype(member)> \
    decltype(auto) visit(Cases&&... cases) const {                                                  \
        return std::visit(::orvel::Overloaded<std::decay_t<Cases>...>{std::forward<Cases>(cases)...}, member); \
    }
