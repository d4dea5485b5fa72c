// The shared library shows its C interface and nothing of its internals.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

TEST(Exports, LibraryExportsExactlyItsCInterface) {
    const std::string command = std::string("nm -D --defined-only ") + KVPLAYHDD_PATH;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> exported;
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) {
        char type = 0;
        char name[400] = {};
        unsigned long long address = 0;
        if (std::sscanf(line, "%llx %c %399s", &address, &type, name) == 3)
            exported.insert(name);
    }
    ASSERT_EQ(pclose(pipe), 0);
    const std::set<std::string> expected = {"KVrfs_init_hdd",        "KVrfs_mode_set",     "KVrfs_add_disk_hdd",
                                            "KVrfs_remove_disk_hdd", "get_disk_param_hdd", "get_disk_param_size"};
    EXPECT_EQ(exported, expected);
}
