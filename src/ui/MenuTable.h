#pragma once

#include <QString>

#include <functional>
#include <vector>

class QMenuBar;

namespace nimbrel {

// One entry of the menus: a command, or a submenu with entries of its own. Every entry and
// submenu carries a name by which the window finds it again (a pop-up menu, a test).
struct MenuEntry {
    MenuEntry(const char* name, const QString& caption, std::function<void()> command)
        : name(name), caption(caption), command(std::move(command)) {}
    MenuEntry(const char* name, const QString& caption, std::vector<MenuEntry> entries)
        : name(name), caption(caption), entries(std::move(entries)) {}

    const char* name;
    QString caption;
    std::function<void()> command; // none for a submenu
    std::vector<MenuEntry> entries;
};

// The menu bar's menus, in the order of the table.
void addMenus(QMenuBar* menuBar, const std::vector<MenuEntry>& menus);

} // namespace nimbrel
