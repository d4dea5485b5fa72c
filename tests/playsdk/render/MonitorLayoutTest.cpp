// The monitor layout as the X server reports it.
#include <gtest/gtest.h>

#include "MonitorLayout.h"

TEST(MonitorLayout, OneScreenIsOneMonitorCoveringIt) {
    const std::vector<kvplay::MonitorEntry> monitors = kvplay::currentMonitors();
    ASSERT_EQ(monitors.size(), 1u);
    EXPECT_EQ(monitors[0].left, 0);
    EXPECT_EQ(monitors[0].top, 0);
    EXPECT_EQ(monitors[0].right, 1280);
    EXPECT_EQ(monitors[0].bottom, 1024);
    EXPECT_FALSE(kvplay::monitorLayoutsDiffer(monitors, kvplay::currentMonitors()));
}
