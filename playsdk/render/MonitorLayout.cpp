#include "MonitorLayout.h"

#include <xcb/randr.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

#include "X11Display.h"

namespace kvplay {
namespace {

std::mutex sourceLock;
std::function<std::vector<MonitorEntry>()> installedSource;

std::vector<MonitorEntry> monitorsOfTheServer() {
    std::vector<MonitorEntry> monitors;
    X11Display* display = X11Display::instance();
    if (!display)
        return monitors;
    xcb_connection_t* c = display->connection();
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_generic_error_t* error = nullptr;
    std::unique_ptr<xcb_randr_get_monitors_reply_t, decltype(&std::free)> reply(
        xcb_randr_get_monitors_reply(c, xcb_randr_get_monitors(c, screen->root, 0), &error), &std::free);
    std::free(error);
    if (reply) {
        for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem;
             xcb_randr_monitor_info_next(&it)) {
            MonitorEntry m{};
            // The monitor's name atom and place identify it.
            std::memcpy(m.deviceId, &it.data->name, sizeof it.data->name);
            std::memcpy(m.deviceId + 4, &it.data->x, sizeof it.data->x);
            std::memcpy(m.deviceId + 6, &it.data->y, sizeof it.data->y);
            std::memcpy(m.deviceId + 8, &it.data->width, sizeof it.data->width);
            std::memcpy(m.deviceId + 10, &it.data->height, sizeof it.data->height);
            m.left = it.data->x;
            m.top = it.data->y;
            m.right = it.data->x + it.data->width;
            m.bottom = it.data->y + it.data->height;
            monitors.push_back(m);
        }
    }
    if (monitors.size() < 2) {
        monitors.assign(1, MonitorEntry{});
        monitors[0].right = screen->width_in_pixels;
        monitors[0].bottom = screen->height_in_pixels;
    }
    return monitors;
}

}  // namespace

std::vector<MonitorEntry> currentMonitors() {
    {
        std::lock_guard guard(sourceLock);
        if (installedSource)
            return installedSource();
    }
    return monitorsOfTheServer();
}

void setMonitorLayoutSource(std::function<std::vector<MonitorEntry>()> source) {
    std::lock_guard guard(sourceLock);
    installedSource = std::move(source);
}

bool monitorLayoutsDiffer(const std::vector<MonitorEntry>& a, const std::vector<MonitorEntry>& b) {
    if (a.size() != b.size())
        return true;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::memcmp(a[i].deviceId, b[i].deviceId, sizeof a[i].deviceId) != 0)
            return true;
    return false;
}

}  // namespace kvplay
