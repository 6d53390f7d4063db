#include "RunChoices.h"

#include <type_traits>
#include <utility>

namespace plenvoy {

namespace {

/// Converts to any type: counts how many fields an aggregate is initialised with.
struct AnyField {
    template <typename T> operator T() const;
};

template <typename T, typename = void, typename... Fields> struct BracedFrom : std::false_type {};
template <typename T, typename... Fields>
struct BracedFrom<T, std::void_t<decltype(T{std::declval<Fields>()...})>, Fields...>
    : std::true_type {};

template <typename T, typename... Fields> constexpr std::size_t fieldCount() {
    if constexpr (BracedFrom<T, void, Fields..., AnyField>::value)
        return fieldCount<T, Fields..., AnyField>();
    else
        return sizeof...(Fields);
}

// Every field of the choices is compared by operator==: a new one must join it there.
static_assert(fieldCount<RunChoices>() == 6, "a new choice joins RunChoices::operator==");

} // namespace

} // namespace plenvoy
