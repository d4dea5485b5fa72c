// The video window hands its native window to a play instance, and the new one when Qt replaces it:
// decoded pictures appear in whichever window the widget has.
#include <xcb/xcb.h>

#include <QtTest>
#include <cstdlib>
#include <memory>

#include "KVPlay.h"
#include "StoredStreams.h"
#include "VideoWindow.h"

namespace {

// Whether the middle of the window shows something other than black (the scene never is).
bool showsPicture(uintptr_t window, int width, int height) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> image(
        xcb_get_image_reply(c,
                            xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, static_cast<xcb_window_t>(window),
                                          static_cast<int16_t>(width / 2), static_cast<int16_t>(height / 2), 1, 1, ~0u),
                            nullptr),
        &std::free);
    const bool drawn = image && [&] {
        const uint8_t* p = xcb_get_image_data(image.get());
        return p[0] + p[1] + p[2] > 30;
    }();
    xcb_disconnect(c);
    return drawn;
}

// Paints the window black from outside the library, so that only new drawing can show a picture.
void blacken(uintptr_t window, int width, int height) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const xcb_gcontext_t gc = xcb_generate_id(c);
    const uint32_t black = 0;
    xcb_create_gc(c, gc, static_cast<xcb_window_t>(window), XCB_GC_FOREGROUND, &black);
    const xcb_rectangle_t all{0, 0, static_cast<uint16_t>(width), static_cast<uint16_t>(height)};
    xcb_poly_fill_rectangle(c, static_cast<xcb_window_t>(window), gc, 1, &all);
    xcb_free_gc(c, gc);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    xcb_disconnect(c);
}

void feed(void* player, std::size_t from, std::size_t to) {
    const std::vector<Record>& records = storedStream();
    for (std::size_t i = from; i < to && i < records.size(); ++i)
        KVPlayInputNetFrame(player, records[i].data(), static_cast<int32_t>(records[i].size()));
}

// Qt replaces a widget's native window by destroying it and creating a new one, as it does when a
// widget's window must change kind; the test does the same directly.
class RecreatableVideoWindow : public VideoWindow {
public:
    using VideoWindow::VideoWindow;
    void recreateNativeWindow() {
        destroy();
        create();
        show();
    }
};

}  // namespace

class VideoWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCOMPARE(KVPlayInitPlayLib(1, 1, nullptr), 0); }

    void picturesFollowTheNativeWindowWhenQtReplacesIt() {
        QWidget first;
        first.resize(320, 192);
        auto* video = new RecreatableVideoWindow(&first);
        video->resize(320, 192);
        first.show();
        QVERIFY(QTest::qWaitForWindowExposed(&first));

        void* player = KVPlayCreatePlayInstance(1);
        QVERIFY(player);
        KVPlayPlayOptions options{};
        options.renderer = 1;
        video->bindPlayer(player, options);
        feed(player, 0, 40);
        QCOMPARE(KVPlayStartPlay(player), 0);
        const uintptr_t before = video->nativeWindow();
        QTRY_VERIFY_WITH_TIMEOUT(showsPicture(before, 320, 192), 3000);

        QSignalSpy changed(video, &VideoWindow::nativeWindowChanged);
        video->recreateNativeWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&first));
        const uintptr_t after = video->nativeWindow();
        QVERIFY(after != before);
        QVERIFY(changed.count() >= 1);
        blacken(after, 320, 192);
        QVERIFY(!showsPicture(after, 320, 192));
        feed(player, 40, 120);
        QTRY_VERIFY_WITH_TIMEOUT(showsPicture(after, 320, 192), 3000);

        KVPlayStopPlay(player);
        KVPlayDestroyPlayInstance(player);
    }
};

QTEST_MAIN(VideoWindowTest)
#include "VideoWindowTest.moc"
