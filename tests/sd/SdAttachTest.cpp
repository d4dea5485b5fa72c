// Attaching SD cards: the card's version, file-system byte, file size, disk ids and groups.
#include "SdReaderFixture.h"

namespace {

class SdAttach : public SdReaderFixture {
protected:
    TestStore oneCard() { return write(card({recording(1, at(1, 10, 0), at(1, 10, 1))}), "card"); }
};

struct ParamCase {
    const char* what;
    void (*change)(rfs::disk_param_t&);
    int result;
    const char* message;
};

TEST_F(SdAttach, ParameterBlockDecidesWhetherTheCardIsRead) {
    const ParamCase cases[] = {
        {"a card as written", [](rfs::disk_param_t&) {}, 0, nullptr},
        {"a hard disk's version", [](rfs::disk_param_t& p) { p.version_lo = 3; }, -1,
         "not valid rfs format, check_sum:"},
        {"512 MiB data files", [](rfs::disk_param_t& p) { p.dataFileSize = 0x20000000; }, -1,
         "not valid rfs format, disk dataFileSize:536870912, filesytem dataFileSize:268435456!\n"},
        {"the oldest layout's size 0", [](rfs::disk_param_t& p) { p.dataFileSize = 0; }, 0, nullptr},
        {"a raw card", [](rfs::disk_param_t& p) { p.fs_type = 3; }, 0, "add raw disk now!\n"},
        {"an unknown file system", [](rfs::disk_param_t& p) { p.fs_type = 4; }, -1,
         "disk param err not support fs type now!\n"},
    };
    for (const ParamCase& c : cases) {
        SCOPED_TRACE(c.what);
        const TestStore store = oneCard();
        rfs::disk_param_t param = store.param();
        c.change(param);
        store.setParam(param);
        lines_.clear();
        EXPECT_EQ(attach(store), c.result);
        if (c.message != nullptr) {
            EXPECT_TRUE(std::any_of(lines_.begin(), lines_.end(), [&](const std::string& line) {
                return line.find(c.message) != std::string::npos;
            }));
        }
        rfs_remove_disk(0);
        std::filesystem::remove_all(store.path);
    }
}

TEST_F(SdAttach, RawCardIsReadLikeAnyOther) {
    rfssim::Scenario scenario = card({recording(1, at(1, 10, 0), at(1, 10, 1))});
    scenario.fsType = 3;
    ASSERT_EQ(attach(write(scenario, "raw")), 0);
    int handle = -1;
    EXPECT_EQ(listed(0, at(1, 0, 0), at(1, 23, 59), handle).size(), 1u);
}

TEST_F(SdAttach, DiskIdsAndGroupsOutsideTheCardLimitsAreRefused) {
    const TestStore store = oneCard();
    EXPECT_EQ(attach(store, 16), -10);
    EXPECT_TRUE(said("hdd num > max hdd num, id:16, max_id:16\n"));
    EXPECT_EQ(attach(store, 0, 0, 16), -1);
    EXPECT_EQ(attach(store, 0, 0, -1), -1);
    EXPECT_EQ(attach(store, 15, 1, 15), 0);
}

}  // namespace
