// The C interface as a whole: creation by type, null handles, and the library-wide functions.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "KVPlay.h"
#include "PlayLib.h"

TEST(LibraryInterface, CreatesAnInstanceForEveryKnownTypeAndNullOtherwise) {
    for (int32_t type : {0, 1, 2, 3, 4, 6, 7}) {
        void* h = KVPlayCreatePlayInstance(type);
        EXPECT_NE(h, nullptr) << type;
        EXPECT_EQ(KVPlayDestroyPlayInstance(h), 0);
    }
    for (int32_t type : {5, 8, 9, -1, 100})
        EXPECT_EQ(KVPlayCreatePlayInstance(type), nullptr) << type;
    EXPECT_EQ(KVPlayCreatePlayInstanceEx(5, 0), nullptr);
    void* h = KVPlayCreatePlayInstanceEx(2, 7);
    EXPECT_NE(h, nullptr);
    KVPlayDestroyPlayInstance(h);
}

TEST(LibraryInterface, EveryInstanceFunctionAnswersANullHandle) {
    int32_t i = 0, j = 0;
    int64_t a = 0, b = 0;
    float f[4] = {};
    char text[8] = "x";
    const std::pair<const char*, std::function<int64_t()>> calls[] = {
        {"SetPlayWnd", [] { return KVPlaySetPlayWnd(nullptr, 1); }},
        {"SetPlayWndEx", [] { return KVPlaySetPlayWndEx(nullptr, 1, nullptr); }},
        {"StartPlay", [] { return KVPlayStartPlay(nullptr); }},
        {"StopPlay", [] { return KVPlayStopPlay(nullptr); }},
        {"InputNetFrame", [] { return KVPlayInputNetFrame(nullptr, nullptr, 0); }},
        {"SetNetPlayBufNum", [] { return KVPlaySetNetPlayBufNum(nullptr, 300); }},
        {"GetNetPlayBufNum", [] { return KVPlayGetNetPlayBufNum(nullptr); }},
        {"ClearFrameBuffer", [] { return KVPlayClearFrameBuffer(nullptr); }},
        {"ClearTime", [] { return KVPlayClearTime(nullptr); }},
        {"SetCushionRange", [] { return KVPlaySetCushionRange(nullptr, 1, 100); }},
        {"SetPlayMode", [] { return KVPlaySetPlayMode(nullptr, 1, 0); }},
        {"SetPlayModeEx", [] { return KVPlaySetPlayModeEx(nullptr, 1, 0); }},
        {"GetPlayMode", [] { return KVPlayGetPlayMode(nullptr); }},
        {"SetCurPlayedTime", [] { return KVPlaySetCurPlayedTime(nullptr, 1, 0); }},
        {"SetCurPlayedTimeEX", [] { return KVPlaySetCurPlayedTimeEX(nullptr, 1, 0); }},
        {"GetFrameRate", [] { return KVPlayGetFrameRate(nullptr); }},
        {"GetBitRate", [] { return KVPlayGetBitRate(nullptr); }},
        {"GetFrameInfo", [&] { return KVPlayGetFrameInfo(nullptr, &i); }},
        {"GetNetFrameInfo", [&] { return KVPlayGetNetFrameInfo(nullptr, &i); }},
        {"GetPlayPicSize", [&] { return KVPlayGetPlayPicSize(nullptr, &i, &j); }},
        {"RegisterManyCallbacks", [] { return KVPlayRegisterManyCallbacks(nullptr, nullptr); }},
        {"OpenSound", [] { return KVPlayOpenSound(nullptr); }},
        {"CloseSound", [] { return KVPlayCloseSound(nullptr); }},
        {"SetPlayVolume_s", [] { return KVPlaySetPlayVolume_s(nullptr, 5); }},
        {"GetPlayVolume_s", [] { return KVPlayGetPlayVolume_s(nullptr); }},
        {"SetMute_s", [] { return KVPlaySetMute_s(nullptr, 1); }},
        {"RegisterSetAudioDbCallback", [&] { return KVPlayRegisterSetAudioDbCallback(nullptr, &i, &j); }},
        {"CapturePicture", [&] { return KVPlayCapturePicture(nullptr, text); }},
        {"CapturePictureToBuf", [] { return KVPlayCapturePictureToBuf(nullptr, nullptr, nullptr, 0); }},
        {"RegisterPictureCallback", [] { return KVPlayRegisterPictureCallback(nullptr, nullptr); }},
        {"AdjustViewArea", [] { return KVPlayAdjustViewArea(nullptr, 0, 0, 0, 0); }},
        {"SetColor", [&] { return KVPlaySetColor(nullptr, f); }},
        {"DrawRect", [&] { return KVPlayDrawRect(nullptr, f, 1); }},
        {"DrawText", [&] { return KVPlayDrawText(nullptr, text, f); }},
        {"RegisterSdkwrapperDrawCallback",
         [] { return KVPlayRegisterSdkwrapperDrawCallback(nullptr, nullptr, nullptr); }},
        {"SetCallbackMessageEx", [] { return KVPlaySetCallbackMessageEx(nullptr, nullptr, nullptr); }},
        {"FishSetMode", [] { return KVPlayFishSetMode(nullptr, 41); }},
        {"StartlocalrecordFileEx", [&] { return KVPlayStartlocalrecordFileEx(nullptr, &i); }},
        {"Stoplocalrecord", [&] { return KVPlayStoplocalrecord(nullptr, &a, &b); }},
        {"OpenPlayFile", [&] { return KVPlayOpenPlayFile(nullptr, text); }},
        {"GetPlayFileTimeRange", [&] { return KVPlayGetPlayFileTimeRange(nullptr, &a, &b); }},
        {"StartDualTalk", [&] { return KVPlayStartDualTalk(nullptr, &i); }},
        {"AddSyncPlayInstance", [] { return KVPlayAddSyncPlayInstance(nullptr, nullptr); }},
    };
    for (const auto& [name, call] : calls)
        EXPECT_EQ(call(), -1) << name;

    const std::pair<const char*, std::function<int64_t()>> zeroes[] = {
        {"GetCurPlayedTime", [] { return KVPlayGetCurPlayedTime(nullptr); }},
        {"GetMute_s", [] { return KVPlayGetMute_s(nullptr); }},
        {"GetKeyFrameCount", [] { return KVPlayGetKeyFrameCount(nullptr); }},
        {"WindowInZoomStatus", [] { return _KVPlayWindowInZoomStatus_4(nullptr); }},
        {"DestroyPlayInstance", [] { return KVPlayDestroyPlayInstance(nullptr); }},
    };
    for (const auto& [name, call] : zeroes)
        EXPECT_EQ(call(), 0) << name;
}

TEST(LibraryInterface, InstancesOfLaterClassesAnswerStreamOperationsAsUnsupported) {
    for (int32_t type : {3, 4}) {
        void* h = KVPlayCreatePlayInstance(type);
        ASSERT_NE(h, nullptr);
        uint8_t frame[40] = {};
        EXPECT_EQ(KVPlayInputNetFrame(h, frame, 40), -1) << type;
        EXPECT_EQ(KVPlayStartPlay(h), -1) << type;
        EXPECT_EQ(KVPlayGetNetPlayBufNum(h), -1) << type;
        EXPECT_EQ(KVPlayGetCurPlayedTime(h), 0) << type;
        KVPlayDestroyPlayInstance(h);
    }
}

TEST(LibraryInterface, LibraryWideFunctions) {
    char version[260];
    std::memset(version, 'x', sizeof version);
    EXPECT_EQ(KVPlayGetSDKVesion(version), 0);
    EXPECT_STREQ(version, "1.UV_VERSION_MINOR.2.48");
    EXPECT_EQ(KVPlayGetSDKVesion(nullptr), -1);
    EXPECT_EQ(KVPlayGetLastError(1, 2), -1);
    EXPECT_EQ(KVPlaySetMaxHardwareDecodeNumber(-5), -5);
    EXPECT_EQ(KVPlaySetMaxHardwareDecodeNumber(3), 3);
    EXPECT_EQ(KVPlayInitPlayLib(1, 1, nullptr), 0);
    EXPECT_EQ(KVPlayInitPlayLib(0, 0, "/nowhere"), 0) << "initialising again is harmless";
    KVPlayInitLog(nullptr);
    EXPECT_EQ(KVPlayRePaint(nullptr), 0);
    EXPECT_EQ(KVPlayNSynchroRePaint(nullptr), 1);
    EXPECT_EQ(KVPlayDelPlayWnd(nullptr, 0), -1);
    EXPECT_EQ(KVPlayGetMute(), 0);
    EXPECT_EQ(KVShowWaterMark(nullptr), 0);
}

TEST(LibraryInterface, StartingTwiceCountsOnceAndStoppingAStoppedInstanceChangesNothing) {
    void* h = KVPlayCreatePlayInstance(1);
    ASSERT_NE(h, nullptr);
    const int32_t before = kvplay::playLib().startedCount;
    EXPECT_EQ(KVPlayStopPlay(h), 0);
    EXPECT_EQ(kvplay::playLib().startedCount, before);
    EXPECT_EQ(KVPlayStartPlay(h), 0);
    EXPECT_EQ(KVPlayStartPlay(h), 0);
    EXPECT_EQ(kvplay::playLib().startedCount, before + 1);
    EXPECT_EQ(KVPlayStopPlay(h), 0);
    EXPECT_EQ(KVPlayStopPlay(h), 0);
    EXPECT_EQ(kvplay::playLib().startedCount, before);
    EXPECT_EQ(KVPlayDestroyPlayInstance(h), 0);
}
