#include "platform/Menu.h"

#include <algorithm>
#include <map>

#include "platform/Form.h"
#include "platform/Seams.h"

namespace platform {

namespace {

// One menu bar per form that has top-level menus.
struct Bar {
    Form* form = nullptr;
    HMENU menu = nullptr;
    std::vector<MenuItem*> items;
};

std::vector<Bar>& Bars() {
    static std::vector<Bar> bars;
    return bars;
}

Bar* FindBar(Form* form) {
    for (Bar& bar : Bars())
        if (bar.form == form) return &bar;
    return nullptr;
}

// Command identifiers are unique in the program, so a command needs no owner to be found.
constexpr int kFirstCommandId = 0x1000;
constexpr int kLastCommandId = 0xEFFF;  // system commands start at 0xF000

std::map<int, MenuItem*>& Commands() {
    static std::map<int, MenuItem*> commands;
    return commands;
}

int AllocateId(MenuItem* item) {
    static int next = kFirstCommandId;
    auto& commands = Commands();
    for (int tries = 0; tries <= kLastCommandId - kFirstCommandId; ++tries) {
        int id = next;
        next = next == kLastCommandId ? kFirstCommandId : next + 1;
        if (!commands.count(id)) {
            commands[id] = item;
            return id;
        }
    }
    return 0;
}

void RemoveAll(HMENU menu) {
    // RemoveMenu leaves submenus alive: they belong to their items.
    for (int count = GetMenuItemCount(menu); count > 0; --count) RemoveMenu(menu, count - 1, MF_BYPOSITION);
}

}  // namespace

MenuItem::~MenuItem() { Destroy(true); }

void MenuItem::Create(Form& form, const std::string& caption, bool visible) {
    Destroy(false);
    caption_ = caption;
    visible_ = visible;
    form_ = &form;
    id_ = AllocateId(this);
    Bar* bar = FindBar(&form);
    if (!bar) {
        Bars().push_back(Bar{&form, CreateMenu(), {}});
        bar = &Bars().back();
    }
    bar->items.push_back(this);
    RebuildBar(&form, false);
}

void MenuItem::Create(MenuItem& parent, const std::string& caption, bool visible) {
    Destroy(false);
    caption_ = caption;
    visible_ = visible;
    form_ = parent.form_;
    parent_ = &parent;
    id_ = AllocateId(this);
    parent.EnsureSubMenu();
    parent.items_.push_back(this);
    parent.Rebuild();
}

void MenuItem::Destroy(bool teardown) {
    if (parent_) {
        auto& siblings = parent_->items_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        parent_->Rebuild(!teardown);
    } else if (form_) {
        if (Bar* bar = FindBar(form_)) {
            bar->items.erase(std::remove(bar->items.begin(), bar->items.end(), this), bar->items.end());
            RebuildBar(form_, teardown);
        }
    }
    // The items keep their own submenus; they are only cut loose.
    for (MenuItem* item : items_) {
        item->parent_ = nullptr;
        item->form_ = nullptr;
    }
    items_.clear();
    if (subMenu_) {
        RemoveAll(subMenu_);
        DestroyMenu(subMenu_);
        subMenu_ = nullptr;
    }
    if (id_) Commands().erase(id_);
    id_ = 0;
    parent_ = nullptr;
    form_ = nullptr;
}

void MenuItem::EnsureSubMenu() {
    if (subMenu_) return;
    subMenu_ = CreatePopupMenu();
    // The item now opens a submenu, so it is inserted anew.
    RebuildContainer();
}

void MenuItem::Rebuild(bool notify) {
    if (!subMenu_) return;
    RemoveAll(subMenu_);
    int position = 0;
    for (MenuItem* item : items_)
        if (item->visible_) item->InsertInto(subMenu_, position++);
    if (notify && Rebuilt) Rebuilt();
}

void MenuItem::RebuildContainer() {
    if (parent_)
        parent_->Rebuild();
    else if (form_)
        RebuildBar(form_, false);
}

void MenuItem::RebuildBar(Form* form, bool teardown) {
    auto& bars = Bars();
    auto bar = std::find_if(bars.begin(), bars.end(), [form](const Bar& b) { return b.form == form; });
    if (bar == bars.end()) return;
    RemoveAll(bar->menu);
    int position = 0;
    for (MenuItem* item : bar->items)
        if (item->visible_) item->InsertInto(bar->menu, position++);
    HWND window = form->hWnd();
    bool attached = window && GetMenu(window) == bar->menu;
    if (teardown) {
        // The window may be going away too; an attached bar goes with it.
        if (bar->items.empty()) {
            if (!attached) DestroyMenu(bar->menu);
            bars.erase(bar);
        }
        return;
    }
    if (window) {
        if (position > 0 && !attached) SetMenu(window, bar->menu);
        if (position == 0 && attached) SetMenu(window, nullptr);
        if (position > 0) DrawMenuBar(window);
    }
    if (bar->items.empty()) {
        if (!window || GetMenu(window) != bar->menu) DestroyMenu(bar->menu);
        bars.erase(bar);
    }
}

void MenuItem::InsertInto(HMENU menu, int position) const {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING | (subMenu_ ? MIIM_SUBMENU : 0);
    info.fType = IsSeparator() ? MFT_SEPARATOR : MFT_STRING;
    info.fState = (checked_ ? MFS_CHECKED : 0) | (enabled_ ? 0 : MFS_GRAYED);
    info.wID = static_cast<UINT>(id_);
    info.hSubMenu = subMenu_;
    info.dwTypeData = const_cast<char*>(caption_.c_str());
    InsertMenuItemA(menu, static_cast<UINT>(position), TRUE, &info);
}

HMENU MenuItem::ContainingMenu() const {
    if (parent_) return parent_->subMenu_;
    if (!form_) return nullptr;
    Bar* bar = FindBar(form_);
    return bar ? bar->menu : nullptr;
}

int MenuItem::Position() const {
    if (!visible_) return -1;
    const std::vector<MenuItem*>* siblings = nullptr;
    if (parent_) {
        siblings = &parent_->items_;
    } else if (form_) {
        if (Bar* bar = FindBar(form_)) siblings = &bar->items;
    }
    if (!siblings) return -1;
    int position = 0;
    for (const MenuItem* item : *siblings) {
        if (item == this) return position;
        if (item->visible_) ++position;
    }
    return -1;
}

void MenuItem::SetCaption(const std::string& caption) {
    bool wasSeparator = IsSeparator();
    caption_ = caption;
    int position = Position();
    HMENU menu = ContainingMenu();
    if (position < 0 || !menu) return;
    if (wasSeparator != IsSeparator()) {
        RebuildContainer();
        return;
    }
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(caption_.c_str());
    SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
    if (!parent_ && form_ && form_->hWnd()) DrawMenuBar(form_->hWnd());
}

void MenuItem::SetChecked(bool checked) {
    checked_ = checked;
    int position = Position();
    if (position >= 0) CheckMenuItem(ContainingMenu(), position, MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MenuItem::SetEnabled(bool enabled) {
    enabled_ = enabled;
    int position = Position();
    if (position < 0) return;
    EnableMenuItem(ContainingMenu(), position, MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
    if (!parent_ && form_ && form_->hWnd()) DrawMenuBar(form_->hWnd());
}

void MenuItem::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    RebuildContainer();
}

void PopupMenu(MenuItem& menu, unsigned flags, MenuItem* defaultItem) {
    HMENU popup = menu.SubMenu();
    Form* form = menu.Owner();
    if (!popup || !form || !form->hWnd()) return;
    HWND owner = form->hWnd();
    POINT point{};
    seams::GetCursorPos(&point);
    if (defaultItem && defaultItem->Parent() == &menu) SetMenuDefaultItem(popup, defaultItem->Id(), FALSE);
    // A pop-up menu of a window that is not in the foreground would not close when the
    // user clicks elsewhere.
    SetForegroundWindow(owner);
    int chosen = static_cast<int>(TrackPopupMenu(popup, (flags & ~TPM_NONOTIFY) | TPM_RETURNCMD, point.x, point.y, 0,
                                                 owner, nullptr));
    PostMessageA(owner, WM_NULL, 0, 0);
    if (defaultItem) SetMenuDefaultItem(popup, static_cast<UINT>(-1), FALSE);
    if (chosen) MenuCommand(chosen);
}

bool MenuCommand(int id) {
    auto& commands = Commands();
    auto found = commands.find(id);
    if (found == commands.end()) return false;
    // The command may unload the form and so destroy the item: run a copy of the handler.
    std::function<void()> click = found->second->Click;
    if (click) click();
    return true;
}

}  // namespace platform
