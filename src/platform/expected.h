#pragma once

// A value or the reason there is none. Errors cross library boundaries as values, never as
// exceptions; this is the small subset of C++23's std::expected that the project needs.

#include <cassert>
#include <utility>
#include <variant>

namespace spindeck {

template <class E> struct Unexpected { E error; };
template <class E> Unexpected(E) -> Unexpected<E>;

template <class T, class E> class [[nodiscard]] Expected {
public:
    Expected(T value) : m_state(std::in_place_index<0>, std::move(value)) {} // NOLINT(google-explicit-constructor)
    template <class G>
    Expected(Unexpected<G> failure) // NOLINT(google-explicit-constructor)
        : m_state(std::in_place_index<1>, E(std::move(failure.error))) {}

    [[nodiscard]] bool has_value() const { return m_state.index() == 0; }
    explicit operator bool() const { return has_value(); }

    [[nodiscard]] T& value() & {
        assert(has_value());
        return std::get<0>(m_state);
    }
    [[nodiscard]] const T& value() const& {
        assert(has_value());
        return std::get<0>(m_state);
    }
    [[nodiscard]] T&& value() && {
        assert(has_value());
        return std::get<0>(std::move(m_state));
    }
    [[nodiscard]] const E& error() const {
        assert(!has_value());
        return std::get<1>(m_state);
    }
    T& operator*() & { return value(); }
    const T& operator*() const& { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }

private:
    std::variant<T, E> m_state;
};

// Success without a value.
struct Done {};

template <class E> using Status = Expected<Done, E>;

} // namespace spindeck
