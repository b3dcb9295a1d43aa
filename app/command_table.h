#pragma once
// Wiring of every menu item, shortcut and toolbar button to its command.

#include "app/Unit1.h"
#include "app/templates.h"

#include "controls/menu_template.h"
#include "controls/toolbar_template.h"

#include <span>

namespace ctl {
class Toolbar;
}

namespace app {

// Assigns each menu item's handler and shortcut.
void wireMenu(MainWindow& window);
// Assigns the tooltips, the image list and the click handler of each button.
void wireToolbar(MainWindow& window, ctl::Toolbar& toolbar);

} // namespace app
