#include "ui/MenuTable.h"

#include <QMenu>
#include <QMenuBar>

namespace nimbrel {

namespace {

void addEntries(QMenu* menu, const std::vector<MenuEntry>& entries) {
    for (const MenuEntry& entry : entries) {
        QAction* action = nullptr;
        if (entry.command) {
            action = menu->addAction(entry.caption, menu, entry.command);
        } else {
            QMenu* submenu = menu->addMenu(entry.caption);
            submenu->setObjectName(QString::fromLatin1(entry.name));
            addEntries(submenu, entry.entries);
            action = submenu->menuAction();
        }
        action->setObjectName(QString::fromLatin1(entry.name));
    }
}

} // namespace

void addMenus(QMenuBar* menuBar, const std::vector<MenuEntry>& menus) {
    for (const MenuEntry& top : menus) {
        QMenu* menu = menuBar->addMenu(top.caption);
        menu->setObjectName(QString::fromLatin1(top.name));
        menu->menuAction()->setObjectName(QString::fromLatin1(top.name));
        addEntries(menu, top.entries);
    }
}

} // namespace nimbrel
