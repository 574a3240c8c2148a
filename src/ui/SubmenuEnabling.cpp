#include "ui/SubmenuEnabling.h"

#include <QActionEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

#include <algorithm>

namespace nimbrel {

namespace {

class SubmenuEnabling final : public QObject {
public:
    explicit SubmenuEnabling(QMenuBar* menuBar) : QObject(menuBar) {
        for (QAction* action : menuBar->actions())
            if (action->menu()) watch(action->menu(), Level::TopMenu);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::ActionAdded && type != QEvent::ActionChanged &&
            type != QEvent::ActionRemoved)
            return false;
        if (type == QEvent::ActionAdded) {
            if (QMenu* added = static_cast<QActionEvent*>(event)->action()->menu())
                watch(added, Level::Submenu);
        }
        auto* menu = static_cast<QMenu*>(watched);
        if (submenus_.contains(menu)) follow(menu);
        return false;
    }

private:
    enum class Level { TopMenu, Submenu };

    void watch(QMenu* menu, Level level) {
        menu->installEventFilter(this);
        for (QAction* action : menu->actions())
            if (action->menu()) watch(action->menu(), Level::Submenu);
        if (level == Level::Submenu) {
            submenus_.insert(menu);
            // A later menu at the same address is no submenu of ours.
            connect(menu, &QObject::destroyed, this, [this, menu] { submenus_.remove(menu); });
            follow(menu);
        }
    }

    // A submenu's entry changing is an entry change of the menu that holds it, so nested
    // submenus follow each other upwards.
    static void follow(QMenu* menu) {
        const QList<QAction*> entries = menu->actions();
        menu->menuAction()->setEnabled(std::any_of(entries.begin(), entries.end(), [](QAction* a) {
            return !a->isSeparator() && a->isVisible() && a->isEnabled();
        }));
    }

    QSet<QMenu*> submenus_;
};

} // namespace

void enableSubmenusByTheirEntries(QMenuBar* menuBar) {
    new SubmenuEnabling(menuBar);
}

} // namespace nimbrel
