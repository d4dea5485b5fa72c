// A real X11 window on the test's own connection (the tests run under Xvfb), with its pixels read back.
#pragma once

#include <xcb/xcb.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <thread>
#include <vector>

class TestWindow {
public:
    TestWindow(int width, int height, bool mapped = true) {
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_))
            throw std::runtime_error("no X display");
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        id_ = xcb_generate_id(connection_);
        const uint32_t background = screen->black_pixel;
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, id_, screen->root, 0, 0, static_cast<uint16_t>(width),
                          static_cast<uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                          XCB_CW_BACK_PIXEL, &background);
        if (mapped)
            map();
        xcb_flush(connection_);
    }
    ~TestWindow() {
        destroy();
        xcb_disconnect(connection_);
    }

    uintptr_t id() const { return id_; }

    void map() {
        xcb_map_window(connection_, id_);
        waitFor([this] { return viewable(); });
    }
    void resize(int width, int height) {
        const uint32_t size[] = {static_cast<uint32_t>(width), static_cast<uint32_t>(height)};
        xcb_configure_window(connection_, id_, XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT, size);
        waitFor([&] { return this->width() == width; });
    }
    void destroy() {
        if (!destroyed_)
            xcb_destroy_window(connection_, id_);
        destroyed_ = true;
        xcb_flush(connection_);
        sync();
    }

    // Blue, green, red of a pixel.
    std::array<int, 3> pixel(int x, int y) {
        std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> image(
            xcb_get_image_reply(connection_,
                                xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, id_, x, y, 1, 1, ~0u), nullptr),
            &std::free);
        if (!image)
            return {-1, -1, -1};
        const uint8_t* p = xcb_get_image_data(image.get());
        return {p[0], p[1], p[2]};
    }

private:
    bool viewable() {
        std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> a(
            xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, id_), nullptr),
            &std::free);
        return a && a->map_state == XCB_MAP_STATE_VIEWABLE;
    }
    int width() {
        std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> g(
            xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, id_), nullptr), &std::free);
        return g ? g->width : -1;
    }
    // Makes sure the server has handled everything sent so far.
    void sync() { std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr)); }
    template <typename Condition>
    void waitFor(Condition done) {
        xcb_flush(connection_);
        for (int i = 0; i < 200 && !done(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    xcb_connection_t* connection_;
    xcb_window_t id_ = 0;
    bool destroyed_ = false;
};
