// The monitors the X server shows, as RandR reports them: one entry per monitor, or one for the whole
// screen where RandR cannot tell; empty without an X display.
#pragma once

#include <vector>

#include <cstdint>
#include <functional>

namespace kvplay {

// A display's place in the virtual screen, and what identifies it.
struct MonitorEntry {
    uint8_t deviceId[16];
    int32_t left, top, right, bottom;
};

std::vector<MonitorEntry> currentMonitors();
// Replaces where the layout comes from (tests); null restores the X server.
void setMonitorLayoutSource(std::function<std::vector<MonitorEntry>()> source);
// Two layouts differ in their count or in any monitor's identity (its first 16 bytes).
bool monitorLayoutsDiffer(const std::vector<MonitorEntry>& a, const std::vector<MonitorEntry>& b);

}  // namespace kvplay
