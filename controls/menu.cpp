#include "controls/menu.h"

#include "controls/application.h"
#include "controls/form.h"

#include <algorithm>
#include <vector>

namespace ctl {

namespace {

// Command identifiers are never reused within a run, whichever menu takes them.
std::uint32_t g_nextCommandId = kFirstMenuCommandId;

// Item data marks of the native items (what the template made of them).
constexpr ULONG_PTR kCheckableData = 0x40000000;
constexpr ULONG_PTR kRadioData = 0x80000000;

constexpr std::size_t kMaxAccelerators = 1000;

// The modern record size throughout: the layer targets current Windows only.
MENUITEMINFOW itemInfo(UINT mask) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = mask;
    return info;
}

// WM_COMMAND carries the low 16 bits of a command identifier.
Menu* findCommand(Menu& root, WPARAM wParam) {
    return findInMenu(root, [wParam](const Menu& item, int) {
        return LOWORD(item.commandId()) == LOWORD(wParam);
    });
}

} // namespace

class MenuBuilder {
public:
    static void build(Menu& parent, HMENU native, const MenuTemplateItem& parsed) {
        for (const MenuTemplateItem& entry : parsed.items) {
            auto* item = new Menu();
            item->parent_ = &parent;
            parent.items_.push_back(item);
            item->caption_ = entry.caption;
            item->commandId_ = entry.commandId;
            item->separator_ = entry.separator;
            item->checkable_ = entry.checkable;
            item->radioGroup_ = entry.radioGroup;
            if (entry.hasSubMenu) {
                item->handle_ = CreatePopupMenu();
                item->ownedHandle_.reset(item->handle_);
            }

            MENUITEMINFOW info =
                itemInfo(MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE | MIIM_DATA);
            if (entry.separator) {
                info.fType = MFT_SEPARATOR;
                info.fState = MFS_GRAYED;
            } else {
                if (entry.checkable)
                    info.dwItemData = kCheckableData;
                if (entry.checked)
                    info.fState |= MFS_CHECKED;
                if (entry.radioGroup != 0) {
                    info.fType |= MFT_RADIOCHECK;
                    info.dwItemData |= kRadioData;
                }
                info.dwTypeData = item->caption_.data();
                info.cch = static_cast<UINT>(item->caption_.size());
            }
            info.wID = entry.commandId;
            info.hSubMenu = item->handle_;
            item->state_ = info.fState;
            if (InsertMenuItemW(native, UINT_MAX, TRUE, &info))
                item->ownedHandle_.detach(); // the parent's native menu destroys it now
            if (entry.hasSubMenu)
                build(*item, item->handle_, entry);
        }
    }
};

Menu* newMenu(Control* owner, MenuTemplate entries, MenuItemHandler onItem) {
    auto* root = new Menu();
    root->onItem = std::move(onItem);
    Form* form = owner && owner->isForm() ? static_cast<Form*>(owner) : nullptr;
    const bool menuBar = form && !owner->menu();
    if (!entries.empty() && !entries.front().empty()) {
        root->handle_ = menuBar ? CreateMenu() : CreatePopupMenu();
        root->ownedHandle_.reset(root->handle_);
        MenuBuilder::build(*root, root->handle_, parseMenuTemplate(entries, g_nextCommandId));
    }
    if (!owner)
        return root;
    root->owner_ = owner;
    if (Menu* last = owner->menu()) {
        while (last->next_)
            last = last->next_;
        last->next_ = root; // released with the menu before it
        return root;
    }
    if (form)
        form->setMenuBar(root->handle_);
    owner->setMenu(root);
    owner->addMessageHandler(Menu::commandHandler);
    owner->own(*root);
    return root;
}

// ---------------------------------------------------------------------------------------------
// Lifetime

void Menu::destroy() {
    Object::destroy();
    if (parent_)
        removeFromParent();
    for (Menu* item : items_) {
        item->parent_ = nullptr; // torn down with this menu, not removed one by one
        item->release();
    }
    items_.clear();
    if (owner_)
        forgetRoot();
    // A window destroys its menu bar together with itself.
    if (ownedHandle_ && !IsMenu(ownedHandle_.get()))
        ownedHandle_.detach();
    ownedHandle_.reset();
}

void Menu::removeFromParent() {
    Menu& top = root();
    if (parent_->handle_ && RemoveMenu(parent_->handle_, commandId_, MF_BYCOMMAND))
        ownedHandle_.reset(handle_); // removing leaves the pop-up to this item
    std::erase(parent_->items_, this);
    parent_ = nullptr;
    if (Control* owner = top.owner_; owner && owner->handle() && owner->menu() == &top)
        DrawMenuBar(owner->handle());
}

void Menu::forgetRoot() {
    Control* owner = std::exchange(owner_, nullptr);
    if (owner->menu() == this) {
        owner->setMenu(nullptr);
        if (owner->isForm()) {
            auto* form = static_cast<Form*>(owner);
            if (form->menuBar() && form->menuBar() == handle_)
                form->setMenuBar(nullptr);
        }
        owner->disown(*this);
    } else {
        for (Menu* before = owner->menu(); before; before = before->next_) {
            if (before->next_ == this)
                before->next_ = nullptr;
        }
    }
    // The menus chained after this one go with it.
    if (Menu* next = std::exchange(next_, nullptr))
        next->release();
}

// ---------------------------------------------------------------------------------------------
// Items

Menu& Menu::root() noexcept {
    Menu* menu = this;
    while (menu->parent_)
        menu = menu->parent_;
    return *menu;
}

Menu* Menu::item(std::int64_t indexOrId) noexcept {
    return menuItemAt(*this, indexOrId);
}

int Menu::itemCount() noexcept {
    return menuItemCount(*this);
}

int Menu::itemIndex() noexcept {
    return menuItemIndex(root(), *this);
}

void Menu::assignEvents(int first, std::span<const MenuItemHandler> handlers) {
    for (const MenuItemHandler& handler : handlers) {
        Menu* target = item(first++);
        if (!target)
            return;
        target->onItem = handler;
    }
}

// ---------------------------------------------------------------------------------------------
// State

void Menu::refreshState() {
    if (!parent_ || !parent_->handle_)
        return;
    MENUITEMINFOW info = itemInfo(MIIM_STATE);
    if (GetMenuItemInfoW(parent_->handle_, commandId_, FALSE, &info))
        state_ = info.fState;
}

bool Menu::state(UINT mask) {
    refreshState();
    const bool inverted = (mask & kInvertedMask) != 0;
    const bool any = (state_ & mask & ~kInvertedMask) != 0;
    return any != inverted;
}

void Menu::setState(UINT mask, bool on) {
    refreshState();
    const bool inverted = (mask & kInvertedMask) != 0;
    const UINT bits = mask & ~kInvertedMask;
    if (on != inverted)
        state_ |= bits;
    else
        state_ &= ~bits;
    if (!parent_ || !parent_->handle_)
        return;
    MENUITEMINFOW info = itemInfo(MIIM_STATE);
    info.fState = state_;
    SetMenuItemInfoW(parent_->handle_, commandId_, FALSE, &info);
    // Items of the bar itself show at once only after the bar is drawn again.
    Menu& top = root();
    Control* owner = top.owner_;
    if (parent_ == &top && owner && owner->menu() == &top && owner->handle() &&
        !application().terminated)
        DrawMenuBar(owner->handle());
}

void Menu::setChecked(std::int64_t indexOrId, bool checked) {
    if (Menu* target = item(indexOrId))
        target->setState(MFS_CHECKED, checked);
}

void Menu::radioCheck() {
    if (!parent_ || radioGroup_ == 0) {
        setState(MFS_CHECKED, true);
        return;
    }
    // The group is the run of neighbours in the same radio group around this item.
    const std::vector<Menu*>& siblings = parent_->items_;
    const auto at = std::find(siblings.begin(), siblings.end(), this);
    auto first = at;
    while (first != siblings.begin() && (*(first - 1))->radioGroup_ == radioGroup_)
        --first;
    auto last = at;
    while (last + 1 != siblings.end() && (*(last + 1))->radioGroup_ == radioGroup_)
        ++last;
    if (first == last) {
        setState(MFS_CHECKED, true);
        return;
    }
    CheckMenuRadioItem(parent_->handle_, (*first)->commandId_, (*last)->commandId_, commandId_,
                       MF_BYCOMMAND);
}

// ---------------------------------------------------------------------------------------------
// Choosing items

bool Menu::commandHandler(Control& control, Message& message, LRESULT& result) {
    if (message.message != WM_COMMAND || message.lParam != 0 || HIWORD(message.wParam) > 1)
        return false;
    Control* holder = &control;
    while (holder && !holder->menu())
        holder = holder->parent();
    if (!holder)
        return false;
    for (Menu* root = holder->menu(); root; root = root->next_) {
        if (Menu* chosen = findCommand(*root, message.wParam)) {
            result = 0;
            root->choose(*chosen, HIWORD(message.wParam) == 1);
            return true;
        }
    }
    return false;
}

void Menu::choose(Menu& chosen, bool byAccelerator) {
    // A handler may free the menu it was chosen from.
    const Ref<Menu> keepAlive(this);
    const int index = menuItemIndex(*this, chosen);
    byAccelerator_ = byAccelerator;
    if (chosen.radioGroup_ != 0)
        chosen.radioCheck();
    else if (chosen.checkable_)
        chosen.setState(MFS_CHECKED, !chosen.state(MFS_CHECKED));
    if (chosen.onItem)
        chosen.onItem(*this, index);
    else
        onItem(*this, index);
}

// ---------------------------------------------------------------------------------------------
// Shortcuts

void Menu::setAccelerator(std::int64_t indexOrId, Accelerator accelerator) {
    Menu* target = item(indexOrId);
    if (!target || target->accelerator_ == accelerator)
        return;
    target->accelerator_ = accelerator;
    target->root().rebuildAccelerators();
}

// One table per owner window, holding the shortcuts of all its menus.
void Menu::rebuildAccelerators() {
    Control* owner = owner_;
    if (!owner)
        return;
    owner->setAcceleratorTable(UniqueAccel());
    std::vector<ACCEL> entries;
    for (Menu* menu = owner->menu(); menu; menu = menu->next_) {
        findInMenu(*menu, [&entries](const Menu& item, int) {
            if (item.accelerator_)
                entries.push_back(
                    {item.accelerator_.flags, item.accelerator_.key, LOWORD(item.commandId_)});
            return entries.size() == kMaxAccelerators;
        });
        if (entries.size() == kMaxAccelerators)
            break;
    }
    if (entries.empty())
        return;
    owner->setAcceleratorTable(
        UniqueAccel(CreateAcceleratorTableW(entries.data(), static_cast<int>(entries.size()))));
    if (owningForm(*owner))
        application().keyboardHook = translateKeys;
}

} // namespace ctl
