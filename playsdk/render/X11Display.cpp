#include "X11Display.h"

#include <xcb/shm.h>

#include <cstdlib>
#include <memory>

namespace kvplay {

X11Display::X11Display(xcb_connection_t* connection) : connection_(connection) {
    std::unique_ptr<xcb_shm_query_version_reply_t, decltype(&std::free)> shm(
        xcb_shm_query_version_reply(connection_, xcb_shm_query_version(connection_), nullptr), &std::free);
    hasShm_ = shm != nullptr;
}

X11Display* X11Display::instance() {
    // Opened once and kept for the life of the process, like the program's own connection.
    static X11Display* display = []() -> X11Display* {
        if (!std::getenv("DISPLAY"))
            return nullptr;
        xcb_connection_t* c = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(c)) {
            xcb_disconnect(c);
            return nullptr;
        }
        return new X11Display(c);
    }();
    return display;
}

std::optional<WindowState> X11Display::windowState(uint32_t window) const {
    // Errors of requests nobody waited for arrive as events; they are dropped here so none pile up.
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_))
        std::free(event);
    const auto geometryCookie = xcb_get_geometry(connection_, window);
    const auto attributesCookie = xcb_get_window_attributes(connection_, window);
    // Errors are taken here, not left in the event queue that nobody reads.
    xcb_generic_error_t* geometryError = nullptr;
    xcb_generic_error_t* attributesError = nullptr;
    std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
        xcb_get_geometry_reply(connection_, geometryCookie, &geometryError), &std::free);
    std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
        xcb_get_window_attributes_reply(connection_, attributesCookie, &attributesError), &std::free);
    std::free(geometryError);
    std::free(attributesError);
    if (!geometry || !attributes)
        return std::nullopt;
    return WindowState{geometry->width, geometry->height, geometry->depth,
                       attributes->map_state == XCB_MAP_STATE_VIEWABLE};
}

}  // namespace kvplay

namespace kvplay {

std::optional<WindowState> X11Display::drawableState(uint32_t window) const {
    std::optional<WindowState> state = windowState(window);
    if (!state || !state->viewable || state->width == 0 || state->height == 0)
        return std::nullopt;
    return state;
}

bool X11Display::succeeded(xcb_void_cookie_t cookie) const {
    xcb_generic_error_t* error = xcb_request_check(connection_, cookie);
    std::free(error);
    return error == nullptr;
}

xcb_visualtype_t* X11Display::visualOf(uint32_t window) const {
    xcb_generic_error_t* error = nullptr;
    std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
        xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, window), &error),
        &std::free);
    std::free(error);
    if (!attributes)
        return nullptr;
    for (auto screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)); screen.rem; xcb_screen_next(&screen))
        for (auto depth = xcb_screen_allowed_depths_iterator(screen.data); depth.rem; xcb_depth_next(&depth))
            for (auto visual = xcb_depth_visuals_iterator(depth.data); visual.rem; xcb_visualtype_next(&visual))
                if (visual.data->visual_id == attributes->visual)
                    return visual.data;
    return nullptr;
}

}  // namespace kvplay
