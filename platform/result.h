#pragma once

// A value, or the reason there is none: how the platform's expected failures
// (a file that cannot be read, a settings store that cannot be read or
// written) travel to the code that tells the user.

#include <concepts>
#include <type_traits>
#include <utility>
#include <variant>

namespace velmo {

// What a Result<T, E> takes as its value: what becomes a T and never an E.
template <class U, class T, class E>
concept ResultValue = std::convertible_to<U, T> && !std::convertible_to<U, E>;

template <class T, class E>
class [[nodiscard]] Result {
    static_assert(!std::is_same_v<T, E>, "a value and its failure need types of their own");

  public:
    template <ResultValue<T, E> U = T>
    Result(U&& value) : held_(std::in_place_index<0>, std::forward<U>(value)) {}
    Result(E failure) : held_(std::in_place_index<1>, std::move(failure)) {}

    // No conversion to bool: for a Result<bool, E> it would read as the value.
    bool has_value() const { return held_.index() == 0; }

    T& value() & { return std::get<0>(held_); }
    const T& value() const& { return std::get<0>(held_); }
    T&& value() && { return std::get<0>(std::move(held_)); }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    template <class U>
    T value_or(U&& fallback) const& {
        return has_value() ? value() : static_cast<T>(std::forward<U>(fallback));
    }

    const E& error() const { return std::get<1>(held_); }

  private:
    std::variant<T, E> held_;
};

}  // namespace velmo
