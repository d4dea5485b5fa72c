// TarnPlayer from process entry to the end of its event loop.
#pragma once

#include <functional>

class KVWindBase;

// The event loop's exit code; 0 after handing over to a scaled restart; -1 when the user settings file
// cannot be created. `whenShown` runs once the main window is shown (the program's own tests drive it).
int runTarnPlayer(int argc, char** argv, const std::function<void(KVWindBase&)>& whenShown = {});
