// Looks at the monitor layout every two seconds and tells every live instance when it changed, so
// renderers bound to monitors rebuild.
#pragma once

#include <functional>
#include <vector>

#include "MonitorLayout.h"

namespace kvplay {

// Starts the watcher once; `notify` is called with each new layout while instances are registered.
void startDisplayWatcher(std::function<bool(const std::vector<MonitorEntry>&)> notify);

}  // namespace kvplay
