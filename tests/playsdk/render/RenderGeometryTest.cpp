// The part of the picture shown and where it lands in the window.
#include <gtest/gtest.h>

#include "RenderGeometry.h"

using kvplay::PixelRect;
using kvplay::ViewMargins;

TEST(RenderGeometry, AspectModesPlaceThePictureCentred) {
    struct {
        const char* what;
        PixelRect client;
        int32_t mode;
        PixelRect source;
        PixelRect expected;
    } cases[] = {
        {"stretch", {0, 0, 1000, 600}, 0, {0, 0, 704, 576}, {0, 0, 1000, 600}},
        {"unknown modes stretch", {0, 0, 1000, 600}, 7, {0, 0, 704, 576}, {0, 0, 1000, 600}},
        {"4:3 in 800x600 fills", {0, 0, 800, 600}, 2, {0, 0, 1920, 1080}, {0, 0, 800, 600}},
        {"4:3 in 1000x600: bars left and right", {0, 0, 1000, 600}, 2, {0, 0, 1920, 1080}, {100, 0, 900, 600}},
        {"16:9 in 800x600: bars above and below", {0, 0, 800, 600}, 3, {0, 0, 704, 576}, {0, 75, 800, 525}},
        {"picture's own ratio", {0, 0, 1000, 600}, 1, {0, 0, 704, 576}, {133, 0, 866, 600}},
        {"a cropped picture's ratio", {0, 0, 800, 800}, 1, {100, 0, 500, 200}, {0, 200, 800, 600}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kvplay::destinationRectangle(c.client, c.mode, c.source), c.expected) << c.what;
}

TEST(RenderGeometry, ViewAreaMarginsApplyOnlyWhenTheyFit) {
    struct {
        const char* what;
        ViewMargins margins;
        PixelRect expected;
    } cases[] = {
        {"none", {0, 0, 0, 0}, {0, 0, 704, 576}},
        {"right half", {352, 0, 0, 0}, {352, 0, 704, 576}},
        {"all four", {10, 20, 30, 40}, {10, 30, 684, 536}},
        {"left margin as wide as the picture is ignored", {704, 0, 0, 0}, {0, 0, 704, 576}},
        {"right margin measured against what the left left", {400, 304, 0, 0}, {400, 0, 704, 576}},
        {"right margin that fits what is left", {400, 303, 0, 0}, {400, 0, 401, 576}},
        {"negative margins are ignored", {-5, -5, -5, -5}, {0, 0, 704, 576}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(kvplay::sourceRectangle(704, 576, &c.margins), c.expected) << c.what;
    EXPECT_EQ(kvplay::sourceRectangle(704, 576, nullptr), (PixelRect{0, 0, 704, 576}));
}
