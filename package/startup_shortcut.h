// Removes a shortcut left in the user's Startup folder to start this installer at log-on.
#pragma once

void removeStartupShortcut();
