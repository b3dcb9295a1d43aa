#pragma once
// The common object header of the control layer: reference counting with deferred destruction,
// an onDestroy slot and the list of owned objects released with their owner.

#include "controls/event_slot.h"

#include <vector>

namespace ctl {

class Object {
public:
    Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    // Keeps the object alive across a call that might free it; pair with release().
    void retain() noexcept { ++refs_; }
    // Drops one reference; the object is destroyed when none is left. Freeing an object is
    // releasing the reference its owner (or creator) holds.
    void release() noexcept;

    bool destroying() const noexcept { return destroying_; }

    // Takes over one reference to `object`; owned objects are released in registration order
    // when this object is destroyed.
    void own(Object& object);
    // Forgets `object` without releasing it (it is being destroyed or moves to another owner).
    void disown(Object& object) noexcept;
    bool owns(const Object& object) const noexcept;

    EventSlot<void(Object&)> onDestroy;

protected:
    virtual ~Object() = default;
    // Runs once, when the last reference goes: onDestroy, then the owned objects. Overrides
    // call the base at the point their own teardown order demands.
    virtual void destroy();
    void releaseOwned() noexcept;

private:
    int refs_ = 1;
    bool destroying_ = false;
    std::vector<Object*> owned_;
};

// An owning reference for objects that live outside any owner, and a keep-alive guard.
template <class T>
class Ref {
public:
    Ref() = default;
    explicit Ref(T* object) noexcept : object_(object) {
        if (object_)
            object_->retain();
    }
    // Takes over the one reference the creator of `object` holds.
    static Ref adopt(T* object) noexcept {
        Ref ref;
        ref.object_ = object;
        return ref;
    }
    Ref(const Ref& other) noexcept : Ref(other.object_) {}
    Ref(Ref&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
    Ref& operator=(Ref other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    ~Ref() {
        if (object_)
            object_->release();
    }
    T* get() const noexcept { return object_; }
    T* operator->() const noexcept { return object_; }
    T& operator*() const noexcept { return *object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

private:
    T* object_ = nullptr;
};

} // namespace ctl
