#include "controls/object.h"

#include <algorithm>

namespace ctl {

void Object::release() noexcept {
    if (--refs_ > 0 || destroying_)
        return;
    destroying_ = true;
    // Keep one reference while tearing down, so a retain/release pair inside a destroy
    // handler cannot start a second destruction.
    refs_ = 1;
    destroy();
    delete this;
}

void Object::destroy() {
    onDestroy(*this);
    releaseOwned();
}

void Object::releaseOwned() noexcept {
    while (!owned_.empty()) {
        Object* first = owned_.front();
        owned_.erase(owned_.begin());
        first->release();
    }
}

void Object::own(Object& object) {
    if (!owns(object))
        owned_.push_back(&object);
}

void Object::disown(Object& object) noexcept {
    std::erase(owned_, &object);
}

bool Object::owns(const Object& object) const noexcept {
    return std::find(owned_.begin(), owned_.end(), &object) != owned_.end();
}

} // namespace ctl
