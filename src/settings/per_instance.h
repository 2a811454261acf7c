// A value given once for every instance of a setting or form (TEL1, TEL2
// and TEL3; the four dial-up profiles), or once per instance.
#pragma once

#include <initializer_list>
#include <type_traits>
#include <utility>
#include <vector>

namespace setutily {

template <class T>
class PerInstance {
 public:
  PerInstance() = default;
  PerInstance(T value) : values_{std::move(value)} {}  // NOLINT: one value for all
  template <class U>
    requires(std::is_convertible_v<U, T> && !std::is_same_v<std::decay_t<U>, T> &&
             !std::is_same_v<std::decay_t<U>, PerInstance>)
  PerInstance(U&& value) : values_{T(std::forward<U>(value))} {}  // NOLINT: "TEL1" for a view
  PerInstance(std::initializer_list<T> values) : values_(values) {}
  T operator[](int instance) const {
    return values_.size() == 1 ? values_.front() : values_.at(static_cast<std::size_t>(instance));
  }
  bool Empty() const { return values_.empty(); }
  // Every value given (one, or one per instance).
  const std::vector<T>& All() const { return values_; }

 private:
  std::vector<T> values_;
};

}  // namespace setutily
