// What the program's windows do for the core layer: the folder picker's owners and targets, the
// walk's listing and favorites nodes, each window's part of the exit save, and the splash's
// hand-over to the main window.
#pragma once

// Registers all of it with core; the program's entry calls it before anything starts, and test
// programs do the same. Calling it again changes nothing.
void RegisterCoreHooks();
