// Every picture of the skin: its name, how the program loads it, its size and how many pictures the
// file holds. The build draws the files from this table and the tests check them against it.
#pragma once

#include <array>

#include "Skin.h"

struct SkinPicture {
    const char* name;
    SkinKind kind;
    int width;
    int height;
    // A sprite holds its states side by side (normal, hover, pressed, disabled); an animation holds frames.
    int pictures = 1;
};

namespace skin_detail {

constexpr SkinPicture sprite(const char* name, int slice) {
    return {name, SkinKind::Svg, 4 * slice, slice, 4};
}
constexpr SkinPicture svg(const char* name, int size) {
    return {name, SkinKind::Svg, size, size};
}
constexpr SkinPicture png(const char* name, int width, int height) {
    return {name, SkinKind::Png, width, height};
}
constexpr SkinPicture gif(const char* name, int size, int frames) {
    return {name, SkinKind::Gif, size, size, frames};
}

}  // namespace skin_detail

inline constexpr auto skinPictures = [] {
    using namespace skin_detail;
    return std::array{
        // Title bar of the main window.
        sprite("home/Header/about", 16),
        sprite("home/Header/mini", 16),
        sprite("home/Header/restore", 16),
        sprite("home/Header/max", 16),
        sprite("home/Header/close", 16),
        png("home/Header/TitleBar_bk", 16, 32),

        // Dialogs, tables and the style sheet's arrows.
        png("comm/arrow_up", 12, 12),
        png("comm/arrow_down", 12, 12),
        png("comm/arrow_left", 12, 12),
        png("comm/arrow_right", 12, 12),
        png("comm/DownInput", 16, 16),
        svg("comm/first", 16),
        svg("comm/prev", 16),
        svg("comm/next", 16),
        svg("comm/last", 16),
        svg("comm/close", 16),
        sprite("comm/tab_close", 16),
        svg("comm/dialog-closebutton", 16),
        svg("comm/info", 16),
        svg("comm/urgentAlarm", 16),
        svg("comm/success", 32),
        svg("comm/failed", 32),
        svg("comm/folderEmap", 16),
        svg("comm/datetime-drop-down", 16),

        // Playback control bars.
        sprite("playback/Play", 48),
        sprite("playback/Pause", 48),
        sprite("playback/Stop", 48),
        sprite("playback/Cut", 48),
        sprite("playback/slower", 48),
        sprite("playback/Backward", 48),
        sprite("playback/Forward", 48),
        sprite("playback/Single", 48),
        sprite("playback/Zoom", 48),
        sprite("playback/Snap", 48),
        sprite("playback/Record", 48),
        sprite("playback/Recording", 48),
        sprite("playback/Mute", 48),
        sprite("playback/Volume", 48),
        sprite("playback/layoutMenu", 48),
        sprite("playback/Full", 48),
        sprite("playback/Download", 32),

        // Speed of the current window.
        sprite("playback/slower_16", 48),
        sprite("playback/slower_8", 48),
        sprite("playback/slower_4", 48),
        sprite("playback/slower_2", 48),
        sprite("playback/faster_nor", 48),
        sprite("playback/faster_2", 48),
        sprite("playback/faster_4", 48),
        sprite("playback/faster_8", 48),
        sprite("playback/faster_16", 48),

        // Timeline.
        sprite("playback/LeftTimeline", 20),
        sprite("playback/RightTimeline", 20),
        sprite("playback/Zoom+Timeline", 20),
        sprite("playback/Zoom-Timeline", 20),
        png("playback/Pointer", 9, 5),
        png("playback/zoom_mouse_icon", 32, 32),

        // Calendar of the period edit.
        svg("playback/left", 16),
        svg("playback/right", 16),
        svg("playback/leftYear", 16),
        svg("playback/rightYear", 16),

        // Check box and radio button indicators of the style sheet.
        png("playback/checkbox_unchecked", 16, 16),
        png("playback/checkbox_hover", 16, 16),
        png("playback/checkbox_checked", 16, 16),
        png("playback/checkbox_partial", 16, 16),
        png("playback/checkbox_disabled", 16, 16),
        png("playback/checkbox_checked_disabled", 16, 16),
        png("playback/radio_unchecked", 16, 16),
        png("playback/radio_hover", 16, 16),
        png("playback/radio_checked", 16, 16),
        png("playback/radio_disabled", 16, 16),
        png("playback/radio_checked_disabled", 16, 16),

        // Video grid: context menu, layout menu, slider handle, loading picture.
        svg("preview/action_play", 24),
        svg("preview/action_stop", 24),
        svg("preview/action_snap", 24),
        svg("preview/action_record", 24),
        svg("preview/action_record_rec", 24),
        svg("preview/action_zoom", 24),
        sprite("preview/action_back", 48),
        sprite("preview/SaveView", 48),
        png("preview/fullscreen_2", 36, 36),
        png("preview/layout4_2", 36, 36),
        png("preview/layout6", 36, 36),
        png("preview/layout8", 36, 36),
        png("preview/layout9", 36, 36),
        png("preview/layout10", 36, 36),
        png("preview/layout10_1", 36, 36),
        png("preview/layout13", 36, 36),
        png("preview/layout13_1", 36, 36),
        png("preview/layout14", 36, 36),
        png("preview/layout16", 36, 36),
        png("preview/layout17", 36, 36),
        png("preview/layout19", 36, 36),
        png("preview/layout22", 36, 36),
        png("preview/layout25", 36, 36),
        svg("preview/layout32", 36),
        svg("preview/layout64", 36),
        svg("preview/layout128", 36),
        png("preview/SpeedHandle", 14, 14),
        SkinPicture{"preview/Loading", SkinKind::Bmp, 160, 90},

        // Fisheye view: dewarp modes and mounts.
        sprite("fisheye/Fisheye", 48),
        sprite("fisheye/VR", 48),
        sprite("fisheye/Cylinder", 48),
        sprite("fisheye/2ptz", 48),
        sprite("fisheye/3ptz", 48),
        sprite("fisheye/4ptz", 48),
        sprite("fisheye/8ptz", 48),
        sprite("fisheye/panorama", 48),
        sprite("fisheye/panorama180", 48),
        sprite("fisheye/panorama360", 48),
        sprite("fisheye/360_ptz", 48),
        sprite("fisheye/360_3ptz", 48),
        sprite("fisheye/360_6ptz", 48),
        sprite("fisheye/360_8ptz", 48),
        sprite("fisheye/panorama180_3ptz", 48),
        sprite("fisheye/panorama180_8ptz", 48),
        svg("fisheye/ceil", 32),
        svg("fisheye/wall", 32),
        svg("fisheye/desktop", 32),
        svg("fisheye/tile", 32),
        svg("fisheye/ceil_on", 32),
        svg("fisheye/wall_on", 32),
        svg("fisheye/desktop_on", 32),
        svg("fisheye/tile_on", 32),

        // Loading animations.
        gif("gif/loading", 32, 12),
        gif("gif/splash_load", 48, 12),
        gif("gif/6", 24, 6),
        gif("gif/16", 16, 8),

        // The program itself.
        png("app", 64, 64),
        png("app_name", 144, 28),
    };
}();
