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
    EventSlot(Handler handler) : handler_(std::move(handler)) {}
    EventSlot& operator=(Handler handler) {
        handler_ = std::move(handler);
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
