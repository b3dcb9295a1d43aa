// Alignment layout: children aligned top, bottom, left, right or client share their parent's
// client area, each separated by the parent's gap.

#include "controls/control.h"

namespace ctl {

namespace {

ResizeHook g_resizeHook = nullptr;

bool takesPart(Control& child) {
    return child.align() != Align::None && (child.visible() || child.flags().createdHidden);
}

bool inPass(Align align, int pass) {
    switch (pass) {
    case 0:
        return align == Align::Top || align == Align::Bottom;
    case 1:
        return align == Align::Left || align == Align::Right;
    default:
        return align == Align::Client;
    }
}

// The bounds of `child` inside the free area `area`, which shrinks by what the child takes.
RECT place(const RECT& old, Align align, RECT& area, int gap) {
    const int width = old.right - old.left;
    const int height = old.bottom - old.top;
    RECT b = old;
    switch (align) {
    case Align::Top:
        b = {area.left + gap, area.top + gap, area.right - gap, area.top + gap + height};
        area.top += height + gap;
        break;
    case Align::Bottom:
        b = {area.left + gap, area.bottom - gap - height, area.right - gap, area.bottom - gap};
        area.bottom -= height + gap;
        break;
    case Align::Left:
        b = {area.left + gap, area.top + gap, area.left + gap + width, area.bottom - gap};
        area.left += width + gap;
        break;
    case Align::Right:
        b = {area.right - gap - width, area.top + gap, area.right - gap, area.bottom - gap};
        area.right -= width + gap;
        break;
    case Align::Client:
        b = {area.left + gap, area.top + gap, area.right - gap, area.bottom - gap};
        break;
    case Align::None:
        break;
    }
    if (b.left > b.right)
        b.right = b.left;
    if (b.top > b.bottom)
        b.bottom = b.top;
    return b;
}

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

void relayoutAfterResize(Control& control) {
    control.relayout();
}

} // namespace

void setResizeHook(ResizeHook hook) noexcept {
    g_resizeHook = hook;
}
ResizeHook resizeHook() noexcept {
    return g_resizeHook;
}

void layoutChildren(Control& parent) {
    parent.flags().layingOut = true;
    RECT area = parent.clientRect();
    const Control::Margins& margins = parent.margins();
    area.top += margins.top;
    area.bottom -= margins.bottom;
    area.left += margins.left;
    area.right -= margins.right;
    const int gap = parent.gap();

    // A copy: moving a child may run handlers that change the list.
    const std::vector<Control*> children = parent.children();
    for (int pass = 0; pass < 3; ++pass) {
        for (Control* child : children) {
            if (!takesPart(*child) || !inPass(child->align(), pass))
                continue;
            const RECT old = child->bounds();
            const RECT placed = place(old, child->align(), area, gap);
            if (!sameRect(placed, old)) {
                const bool resized = placed.right - placed.left != old.right - old.left ||
                                     placed.bottom - placed.top != old.bottom - old.top;
                if (resized) {
                    child->flags().resizedByLayout = true;
                    child->flags().needsRelayout = false;
                }
                child->setBounds(placed);
            }
            if (child->flags().needsRelayout) {
                child->flags().needsRelayout = false;
                layoutChildren(*child);
            }
            // A nested layout of this parent ran to its end: its result stands.
            if (!parent.flags().layingOut)
                return;
        }
    }
    parent.flags().layingOut = false;
}

void Control::setAlign(Align align) {
    if (flags_.notAlignable || align == align_)
        return;
    align_ = align;
    setResizeHook(relayoutAfterResize);
    if (parent_)
        parent_->relayout();
}

void Control::relayout() {
    // Forms lay out their own children; so does a child the parent's layout just resized.
    if (!flags_.child || flags_.form || flags_.resizedByLayout) {
        flags_.resizedByLayout = false;
        layoutChildren(*this);
        return;
    }
    flags_.needsRelayout = true;
    // The parent lays this control out again, unless an ancestor is hidden: that one waits.
    for (Control* ancestor = parent_; ancestor; ancestor = ancestor->parent_) {
        if (!ancestor->visible() && !ancestor->isForm() && !ancestor->flags_.createdHidden) {
            ancestor->flags_.needsRelayout = true;
            return;
        }
        if (ancestor->isForm())
            break;
    }
    if (parent_)
        layoutChildren(*parent_);
}

} // namespace ctl
