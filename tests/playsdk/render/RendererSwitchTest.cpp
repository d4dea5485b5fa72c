// The render holder's choice of renderer and its switch to the other kind when one fails or declines,
// with injected renderers that answer as told.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <functional>
#include <vector>

#include "PictureDescriptor.h"
#include "RenderHolder.h"
#include "RendererFactory.h"

namespace {

using kvplay::RendererKind;

struct Made {
    RendererKind kind;
    uintptr_t window;
};

class ScriptedRenderer final : public kvplay::CBaseRender {
public:
    ScriptedRenderer(uintptr_t window, std::deque<int32_t> answers)
        : CBaseRender(window), answers_(std::move(answers)) {}
    int32_t render(const KVPlayPictureDescriptor&) override {
        if (duringRender)
            duringRender();
        ++renders;
        if (answers_.empty())
            return 0;
        const int32_t answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    int renders = 0;
    std::function<void()> duringRender;  // what a caller's callback does while the picture is drawn

private:
    std::deque<int32_t> answers_;
};

class RendererSwitchTest : public ::testing::Test {
protected:
    void SetUp() override {
        kvplay::setRendererFactory([this](RendererKind kind, uintptr_t window) {
            made_.push_back({kind, window});
            auto& answers = kind == RendererKind::Surface ? surfaceAnswers_ : scalingAnswers_;
            return std::make_unique<ScriptedRenderer>(window, answers);
        });
    }
    void TearDown() override { kvplay::setRendererFactory({}); }

    std::vector<RendererKind> kindsMade() const {
        std::vector<RendererKind> kinds;
        for (const Made& m : made_)
            kinds.push_back(m.kind);
        return kinds;
    }

    std::deque<int32_t> surfaceAnswers_;
    std::deque<int32_t> scalingAnswers_;
    std::vector<Made> made_;
    kvplay::RenderHolder holder_;
    std::unique_ptr<kvplay::PictureDescriptor> picture_ = kvplay::allocatePicture(rfs::KVFrameHeader{}, 64, 48);
};

}  // namespace

TEST_F(RendererSwitchTest, TheWindowOptionsChooseTheFirstRenderer) {
    holder_.setWindow(0x100, true);
    holder_.setWindow(0x200, false);
    holder_.setWindow(0, false);  // no window keeps the renderer
    ASSERT_EQ(made_.size(), 2u);
    EXPECT_EQ(made_[0].kind, RendererKind::Surface);
    EXPECT_EQ(made_[1].kind, RendererKind::Scaling);
    EXPECT_EQ(made_[1].window, 0x200u);
    EXPECT_EQ(holder_.withRenderer([](kvplay::CBaseRender&) { return 7; }), 7);
}

TEST_F(RendererSwitchTest, FailureOrDeclineHandsOverWithTheSettings) {
    struct {
        const char* what;
        bool surfaceFirst;
        int32_t firstAnswer;
        std::vector<RendererKind> expected;
    } cases[] = {
        {"surface renderer cannot make its surfaces", true, -2, {RendererKind::Surface, RendererKind::Scaling}},
        {"surface renderer declines a small picture", true, -3, {RendererKind::Surface, RendererKind::Scaling}},
        {"scaling renderer cannot make its buffers", false, -2, {RendererKind::Scaling, RendererKind::Surface}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        made_.clear();
        (c.surfaceFirst ? surfaceAnswers_ : scalingAnswers_) = {c.firstAnswer};
        (c.surfaceFirst ? scalingAnswers_ : surfaceAnswers_) = {};
        holder_.setWindow(0x100, c.surfaceFirst);
        KVPlayOsdItem item{};
        std::strcpy(item.text, "carried over");
        ASSERT_EQ(holder_.withRenderer([&](kvplay::CBaseRender& r) { return r.setOsdString(5, &item); }), 0);

        EXPECT_EQ(holder_.update(*picture_), 0);
        EXPECT_EQ(kindsMade(), c.expected);
        KVPlayOsdItem items[36];
        uint8_t enabled[36];
        ASSERT_EQ(holder_.withRenderer([&](kvplay::CBaseRender& r) { return r.getAllOsdStrings(items, enabled); }), 0);
        EXPECT_EQ(enabled[5], 1);
        EXPECT_STREQ(items[5].text, "carried over");
        EXPECT_EQ(
            holder_.withRenderer([](kvplay::CBaseRender& r) { return static_cast<ScriptedRenderer&>(r).renders; }), 1)
            << "the new renderer drew the picture";
    }
}

TEST_F(RendererSwitchTest, ADeviceLossDrawsNothingAndKeepsTheRenderer) {
    scalingAnswers_ = {-1, 0};
    holder_.setWindow(0x100, false);
    EXPECT_EQ(holder_.update(*picture_), 0);
    EXPECT_EQ(holder_.update(*picture_), 0);
    EXPECT_EQ(made_.size(), 1u);
}

TEST_F(RendererSwitchTest, AReplacementThatFailsTooIsAShortage) {
    surfaceAnswers_ = {-2};
    scalingAnswers_ = {-2};
    holder_.setWindow(0x100, true);
    EXPECT_EQ(holder_.update(*picture_), -2);
}

TEST_F(RendererSwitchTest, WithoutAnyRendererNothingIsDrawnAndNothingFails) {
    kvplay::setRendererFactory([](RendererKind, uintptr_t) { return nullptr; });
    holder_.setWindow(0x100, false);
    EXPECT_EQ(holder_.update(*picture_), 0);
    EXPECT_EQ(holder_.withRenderer([](kvplay::CBaseRender&) { return 0; }), -1);
}

TEST_F(RendererSwitchTest, AWindowSetFromInsideARenderTakesEffectAfterIt) {
    holder_.setWindow(0x100, false);
    holder_.withRenderer([&](kvplay::CBaseRender& r) {
        static_cast<ScriptedRenderer&>(r).duringRender = [&] { holder_.setWindow(0x200, false); };
        return 0;
    });
    EXPECT_EQ(holder_.update(*picture_), 0);
    ASSERT_EQ(made_.size(), 2u) << "the new window got its renderer once the render was done";
    EXPECT_EQ(made_[1].window, 0x200u);
    EXPECT_EQ(holder_.window(), 0x200u);
}
