// Asking Windows to draw its icons anew, and the right to restart Windows.
#pragma once

// Rebuilds the shell's icon cache by changing "Shell Icon Size" by one and back, telling every
// window in between; tells the user why not when the setting cannot be read.
void RebuildIconCache();

// Enables "SeShutdownPrivilege" for this process; reports each failing step and goes on.
void EnableShutdownPrivilege();
