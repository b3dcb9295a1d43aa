#pragma once
// Menus built from templates: menu bars and pop-ups whose items are addressed by a pre-order
// item index or a command identifier, with check marks, radio groups and keyboard shortcuts.

#include "controls/control.h"
#include "controls/menu_template.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ctl {

class Menu;

// Called with the root menu and the item index of the chosen item.
using MenuItemHandler = EventSlot<void(Menu& root, int itemIndex)>;

// A shortcut key: ACCEL flags (FVIRTKEY, FSHIFT, FCONTROL, FALT) and a virtual-key code.
struct Accelerator {
    BYTE flags = 0;
    WORD key = 0;
    bool operator==(const Accelerator&) const = default;
    explicit operator bool() const noexcept { return flags != 0 || key != 0; }
};

// A state mask with this bit set asks about (or sets) the absence of its other bits.
inline constexpr UINT kInvertedMask = 0x80000000;

// Root menus and their items are both Menu objects. A root belongs to its owner control (or to
// whoever made it without one); items belong to the menu that contains them.
class Menu : public Object {
public:
    // Root: the menu bar or pop-up; item: the pop-up of its sub-menu, or null.
    HMENU handle() const noexcept { return handle_; }
    // Items only; 0 for a root.
    std::uint32_t commandId() const noexcept { return commandId_; }
    Menu* parent() const noexcept { return parent_; }
    Menu& root() noexcept;
    const std::vector<Menu*>& items() const noexcept { return items_; }
    const std::wstring& caption() const noexcept { return caption_; }
    bool separator() const noexcept { return separator_; }
    bool checkable() const noexcept { return checkable_; }
    std::uint32_t radioGroup() const noexcept { return radioGroup_; }
    Accelerator accelerator() const noexcept { return accelerator_; }

    // Roots: the control the menu is attached to, the next menu attached to it, and whether
    // the last chosen item came through a shortcut.
    Control* owner() const noexcept { return owner_; }
    Menu* next() const noexcept { return next_; }
    bool byAccelerator() const noexcept { return byAccelerator_; }

    // The item's own handler; a root's handler serves the items that have none.
    MenuItemHandler onItem;

    // The item at that pre-order index or, from 4096 up, with that command identifier.
    Menu* item(std::int64_t indexOrId) noexcept;
    // Items in the whole tree below this menu.
    int itemCount() noexcept;
    // Position in the root's pre-order numbering; -1 for a root.
    int itemIndex() noexcept;
    // Gives the items first, first + 1, ... the handlers in turn; stops at a missing item.
    void assignEvents(int first, std::span<const MenuItemHandler> handlers);

    // Menu item state bits (MFS_CHECKED, MFS_GRAYED, ...) read from the native item.
    bool state(UINT mask);
    void setState(UINT mask, bool on);
    void setChecked(std::int64_t indexOrId, bool checked);
    // Moves the radio mark of this item's group to this item.
    void radioCheck();
    // Sets the shortcut of an item and rebuilds the owner's accelerator table.
    void setAccelerator(std::int64_t indexOrId, Accelerator accelerator);

protected:
    void destroy() override;

private:
    friend Menu* newMenu(Control* owner, MenuTemplate entries, MenuItemHandler onItem);
    friend class MenuBuilder;

    Menu() = default;
    static bool commandHandler(Control& control, Message& message, LRESULT& result);
    void choose(Menu& item, bool byAccelerator);
    void refreshState();
    void rebuildAccelerators();
    void forgetRoot();
    void removeFromParent();

    HMENU handle_ = nullptr;
    // Roots own their native menu; an item owns its pop-up only once removed from its parent
    // (until then the parent's native menu destroys it with itself).
    UniqueMenu ownedHandle_;
    std::uint32_t commandId_ = 0;
    Control* owner_ = nullptr;
    Menu* next_ = nullptr;
    Menu* parent_ = nullptr;
    std::vector<Menu*> items_;
    std::wstring caption_;
    UINT state_ = 0;
    std::uint32_t radioGroup_ = 0;
    Accelerator accelerator_;
    bool byAccelerator_ = false;
    bool checkable_ = false;
    bool separator_ = false;
};

// Builds a menu from a template. The first menu of a form becomes its menu bar; further menus
// of the same owner are chained after it as pop-ups, as are menus of child controls and menus
// without owner (which the caller releases).
Menu* newMenu(Control* owner, MenuTemplate entries, MenuItemHandler onItem = {});

// For the tree walks of menu_template.h.
inline const std::vector<Menu*>& subItems(const Menu& menu) {
    return menu.items();
}
inline std::uint32_t commandIdOf(const Menu& menu) {
    return menu.commandId();
}

} // namespace ctl
