#pragma once
// EventSlot: a handler slot that does nothing (and answers a default value) while unassigned.

#include <functional>
#include <type_traits>
#include <utility>

namespace ctl {

template <class Signature>
class EventSlot;

template <class R, class... Args>
class EventSlot<R(Args...)> {
public:
    using Handler = std::function<R(Args...)>;

    EventSlot() = default;
    // Any callable of the slot's shape, lambdas included.
    template <class F>
    requires(!std::is_same_v<std::decay_t<F>, EventSlot> && std::is_constructible_v<Handler, F>)
        EventSlot(F&& handler)
        : handler_(std::forward<F>(handler)) {}
    template <class F>
    requires(!std::is_same_v<std::decay_t<F>, EventSlot> &&
             std::is_constructible_v<Handler, F>) EventSlot&
    operator=(F&& handler) {
        handler_ = std::forward<F>(handler);
        return *this;
    }

    explicit operator bool() const noexcept { return static_cast<bool>(handler_); }
    void clear() noexcept { handler_ = nullptr; }

    R operator()(Args... args) const {
        if (handler_)
            return handler_(std::forward<Args>(args)...);
        if constexpr (!std::is_void_v<R>)
            return R{};
    }

private:
    Handler handler_;
};

} // namespace ctl
