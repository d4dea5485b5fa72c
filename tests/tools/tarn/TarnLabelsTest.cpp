// `tarn labels` and `tarn label add|rename|delete` on a store of their own per test, since they change it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "TarnCommand.h"
#include "TempDir.h"
#include "rfssim/StoreWriter.h"

namespace {

rfssim::ScenarioLabel label(int channel, const char* time, const char* name) {
    rfssim::ScenarioLabel l;
    l.channel = channel;
    l.time = *rfs::parseTime(time);
    l.name = name;
    return l;
}

class TarnLabelsTest : public ::testing::Test {
protected:
    void SetUp() override {
        rfssim::Scenario s;
        s.layout = rfssim::StoreLayout::Directory;
        s.channels = 2;
        s.video = rfssim::VideoSettings{rfssim::VideoCodecKind::H264, 160, 96, 5, 10, 100'000};
        s.partitions = {rfssim::PartitionSettings{2, 0x0F}};
        rfssim::Recording r;
        r.from = *rfs::parseTime("2026-12-01 09:00:00");
        r.to = *rfs::parseTime("2026-12-01 09:00:02");
        s.recordings = {r};
        s.labelList = {label(1, "2026-12-01 09:00:00", "front door"), label(3, "2026-12-01 09:30:00", "parcel"),
                       label(2, "2026-12-03 18:00:00", "back door")};
        store = (dir.path() / "store").string();
        rfssim::writeStore(s, store);
    }

    // The labels as JSON, parsed.
    nlohmann::json labels(std::vector<std::string> extra = {}) {
        std::vector<std::string> args = {"labels", store, "--store-channels", "2", "--json"};
        args.insert(args.end(), extra.begin(), extra.end());
        const CommandResult r = tarn(args);
        EXPECT_EQ(r.exitStatus, 0) << r.err;
        return nlohmann::json::parse(r.out, nullptr, false);
    }

    static std::vector<std::string> names(const nlohmann::json& list) {
        std::vector<std::string> out;
        for (const auto& l : list)
            out.push_back(std::to_string(l["number"].get<int>()) + " " + l["name"].get<std::string>() + " ch" +
                          std::to_string(l["channel"].get<int>()) + " " + l["stream"].get<std::string>());
        return out;
    }

    TempDir dir;
    std::string store;
};

}  // namespace

TEST_F(TarnLabelsTest, ListsByTimeWithChannelAndStream) {
    struct Case {
        const char* name;
        std::vector<std::string> options;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"everything", {}, {"0 front door ch1 main", "1 parcel ch1 sub", "2 back door ch2 main"}},
        {"main streams", {"--stream", "main"}, {"0 front door ch1 main", "2 back door ch2 main"}},
        {"one channel", {"--channels", "2"}, {"2 back door ch2 main"}},
        {"by text", {"--text", "door"}, {"0 front door ch1 main", "2 back door ch2 main"}},
        {"in a span", {"--from", "2026-12-01 09:15:00", "--to", "2026-12-02 00:00:00"}, {"1 parcel ch1 sub"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(names(labels(c.options)), c.expected) << c.name;

    const CommandResult table = tarn({"labels", store, "--store-channels", "2", "--channels", "1", "--stream", "main"});
    EXPECT_EQ(table.out, "Number  Time                 Channel  Stream  Name\n"
                         "     0  2026-12-01 09:00:00        1  main    front door\n");
}

TEST_F(TarnLabelsTest, AddsRenamesAndDeletes) {
    const CommandResult added = tarn({"label", "add", store, "--channel", "2", "--stream", "sub", "--store-channels",
                                      "2", "--time", "2026-12-02 07:00:00", "--name", "courier"});
    ASSERT_EQ(added.exitStatus, 0) << added.err;
    EXPECT_EQ(added.out, "added label 3 at 2026-12-02 07:00:00 on channel 2 (sub stream): courier\n");
    EXPECT_EQ(tarn({"label", "rename", store, "--number", "0", "--name", "garden gate"}).exitStatus, 0);
    EXPECT_EQ(tarn({"label", "delete", store, "--number", "2"}).exitStatus, 0);
    EXPECT_EQ(names(labels()),
              (std::vector<std::string>{"0 garden gate ch1 main", "1 parcel ch1 sub", "3 courier ch2 sub"}));
}

TEST_F(TarnLabelsTest, RefusesInOneSentenceAndChangesNothing) {
    const std::string tooLong(44, 'n');
    struct Case {
        const char* name;
        std::vector<std::string> args;
        const char* saying;
    };
    const Case cases[] = {
        {"a name too long", {"label", "add", store, "--channel", "1", "--time", "2026-12-02 07:00:00", "--name", tooLong},
         "at most 43 characters"},
        {"a bad time", {"label", "add", store, "--channel", "1", "--time", "yesterday", "--name", "x"}, "--time takes"},
        {"a number past the area", {"label", "delete", store, "--number", "32768"}, "from 0 to 32767"},
        {"no such label", {"label", "rename", store, "--number", "7", "--name", "x"}, "no such label"},
        {"a sub stream without the channel count",
         {"label", "add", store, "--channel", "1", "--stream", "sub", "--time", "2026-12-02 07:00:00", "--name", "x"},
         "--store-channels"},
    };
    for (const Case& c : cases) {
        const CommandResult r = tarn(c.args);
        EXPECT_TRUE(refusedInOneLine(r)) << c.name;
        EXPECT_NE(r.err.find(c.saying), std::string::npos) << c.name << ": " << r.err;
    }
    EXPECT_EQ(names(labels()), (std::vector<std::string>{"0 front door ch1 main", "1 parcel ch1 sub",
                                                         "2 back door ch2 main"}));
}
