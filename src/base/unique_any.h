// One owner for every kind of handle: the handle type, its invalid value and its close
// function live in a traits type, so each kind is one line. Movable, not copyable.
#pragma once

#include <utility>

namespace base {

// Traits: `using Type = ...; static Type Invalid(); static void Close(Type);`
template <typename Traits>
class UniqueAny {
  public:
    using Type = typename Traits::Type;

    UniqueAny() noexcept : value_(Traits::Invalid()) {}
    explicit UniqueAny(Type value) noexcept : value_(value) {}
    ~UniqueAny() { reset(); }
    UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;

    bool is_valid() const noexcept { return value_ != Traits::Invalid(); }
    explicit operator bool() const noexcept { return is_valid(); }
    Type get() const noexcept { return value_; }
    // Closes what it holds and takes `value`.
    void reset(Type value = Traits::Invalid()) noexcept {
        if (is_valid()) Traits::Close(value_);
        value_ = value;
    }
    // Gives up ownership without closing.
    [[nodiscard]] Type release() noexcept { return std::exchange(value_, Traits::Invalid()); }

  private:
    Type value_;
};

}  // namespace base
