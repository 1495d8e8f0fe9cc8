// Form menus: a menu bar of top-level menus, their items, submenus and separators.
// Each item keeps its own caption, check, enabled and visible state, so that a hidden
// item can leave the system menu (the items after it move up one position) and come
// back in its place when shown again. A visibility change rebuilds the system menu
// that holds the item from that state, as a form runtime does; anything set on that
// system menu directly (a column break, say) must be set again afterwards, which the
// item's Rebuilt handler is there for.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace platform {

class Form;

class MenuItem {
public:
    MenuItem() = default;
    MenuItem(const MenuItem&) = delete;
    MenuItem& operator=(const MenuItem&) = delete;
    ~MenuItem();

    // A top-level menu on the form's menu bar. The form's window shows a menu bar only
    // while at least one of its top-level menus is visible.
    void Create(Form& form, const std::string& caption, bool visible = true);
    // An item of `parent`'s submenu, placed after the items created before it.
    // The caption "-" makes a separator.
    void Create(MenuItem& parent, const std::string& caption, bool visible = true);

    int Index = 0;    // position in a menu control array
    std::string Tag;  // free text the program keeps with the item
    std::function<void()> Click;
    // Runs after this item's submenu has been rebuilt from its items' state.
    std::function<void()> Rebuilt;

    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    bool IsSeparator() const { return caption_ == "-"; }
    // The command identifier that WM_COMMAND and TrackPopupMenu report for this item.
    int Id() const { return id_; }
    // The popup menu holding this item's own items; null until the first one is created.
    HMENU SubMenu() const { return subMenu_; }
    // The system menu that holds this item while it is visible: the menu bar or the
    // parent's popup menu.
    HMENU ContainingMenu() const;
    // Zero-based position in the containing system menu; -1 while hidden.
    int Position() const;
    Form* Owner() const { return form_; }
    MenuItem* Parent() const { return parent_; }
    const std::vector<MenuItem*>& Items() const { return items_; }

private:
    // `teardown`: the item is going away with its form, so the form's window is left alone.
    void Destroy(bool teardown);
    void EnsureSubMenu();
    // `notify`: run Rebuilt; not while the items go away with their form.
    void Rebuild(bool notify = true);
    void RebuildContainer();
    void InsertInto(HMENU menu, int position) const;
    static void RebuildBar(Form* form, bool teardown);

    std::string caption_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    int id_ = 0;
    HMENU subMenu_ = nullptr;
    Form* form_ = nullptr;
    MenuItem* parent_ = nullptr;
    std::vector<MenuItem*> items_;
};

// Shows `menu`'s items as a pop-up menu at the pointer position, owned by the menu's
// form, with `defaultItem` (if any) drawn as the default (bold) item. `flags` are TPM_
// values. Returns after the menu has closed and the chosen item's Click has run.
void PopupMenu(MenuItem& menu, unsigned flags = 0, MenuItem* defaultItem = nullptr);

// Runs the Click of the menu item with this command identifier. False when no item has it.
bool MenuCommand(int id);

}  // namespace platform
