#pragma once

class QMenuBar;

namespace nimbrel {

// A submenu's own entry is enabled exactly when at least one of its entries is, and follows
// them as they are enabled, disabled, added or removed: a submenu that offers nothing cannot
// be opened. Applies to every submenu below the menu bar, nested ones and later ones too.
void enableSubmenusByTheirEntries(QMenuBar* menuBar);

} // namespace nimbrel
