// The monitor layout as the X server reports it.
#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include "MonitorLayout.h"

TEST(MonitorLayout, OneScreenIsOneMonitorCoveringIt) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const int32_t width = screen->width_in_pixels, height = screen->height_in_pixels;
    xcb_disconnect(c);
    const std::vector<kvplay::MonitorEntry> monitors = kvplay::currentMonitors();
    ASSERT_EQ(monitors.size(), 1u);
    EXPECT_EQ(monitors[0].left, 0);
    EXPECT_EQ(monitors[0].top, 0);
    EXPECT_EQ(monitors[0].right, width);
    EXPECT_EQ(monitors[0].bottom, height);
    EXPECT_FALSE(kvplay::monitorLayoutsDiffer(monitors, kvplay::currentMonitors()));
}
