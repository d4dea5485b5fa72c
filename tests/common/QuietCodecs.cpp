// The encoders report every instance they open; the tests want to see errors only.
#include <gtest/gtest.h>

#include "rfssim/VideoEncoder.h"

namespace {

class QuietCodecs : public ::testing::Environment {
public:
    void SetUp() override { rfssim::quietCodecLogging(); }
};

const ::testing::Environment* const kQuietCodecs = ::testing::AddGlobalTestEnvironment(new QuietCodecs);

}  // namespace
