// A change of the monitor layout reaches the renderers of live instances at the watcher's next look.
#include <atomic>

#include "MonitorLayout.h"
#include "PlaybackFixture.h"
#include "RendererFactory.h"

namespace {

class CountingRenderer final : public kvplay::CBaseRender {
public:
    CountingRenderer(uintptr_t window, std::atomic<int>& changes) : CBaseRender(window), changes_(changes) {}
    int32_t render(const KVPlayPictureDescriptor&) override { return 0; }
    void displayConfigurationChanged() override { ++changes_; }

private:
    std::atomic<int>& changes_;
};

kvplay::MonitorEntry monitor(uint8_t id, int32_t left) {
    kvplay::MonitorEntry m{};
    m.deviceId[0] = id;
    m.left = left;
    m.right = left + 1920;
    m.bottom = 1080;
    return m;
}

}  // namespace

TEST_F(PlaybackTest, MonitorLayoutChangesReachTheRenderers) {
    std::mutex lock;
    std::vector<kvplay::MonitorEntry> layout = {monitor(1, 0)};
    kvplay::setMonitorLayoutSource([&] {
        std::lock_guard guard(lock);
        return layout;
    });
    std::atomic<int> changes{0};
    kvplay::setRendererFactory([&changes](kvplay::RendererKind, uintptr_t window) {
        return std::make_unique<CountingRenderer>(window, changes);
    });
    // The change reaches a renderer with the next picture it draws: the instance plays meanwhile.
    void* h = KVPlayCreatePlayInstance(1);
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(KVPlaySetPlayWnd(h, 0x1234), 0);
    feed(h, storedStream());
    ASSERT_EQ(KVPlayStartPlay(h), 0);
    advanceMs(2100);
    const int first = changes;
    EXPECT_LE(first, 1) << "at most the first look";

    {
        std::lock_guard guard(lock);
        layout.push_back(monitor(2, 1920));
    }
    advanceMs(2100);
    EXPECT_EQ(changes, first + 1) << "the second monitor was told";
    advanceMs(2100);
    EXPECT_EQ(changes, first + 1) << "an unchanged layout is not told again";

    KVPlayStopPlay(h);
    KVPlayDestroyPlayInstance(h);
    kvplay::setRendererFactory({});
    kvplay::setMonitorLayoutSource({});
}
