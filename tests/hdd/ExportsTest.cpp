// The shared library shows its C interface and nothing of its internals.
#include <gtest/gtest.h>

#include "ExportedSymbols.h"

TEST(Exports, LibraryExportsExactlyItsCInterface) {
    const std::set<std::string> expected = {
        "KVrfs_init_hdd",       "KVrfs_mode_set",           "KVrfs_add_disk_hdd",          "KVrfs_remove_disk_hdd",
        "get_disk_param_hdd",   "get_disk_param_size",      "KVrfs_find_start_hdd",        "KVrfs_find_stop_hdd",
        "KVrfs_get_event_hdd",  "KVrfs_event_seek_hdd",     "KVrfs_get_current_event_hdd", "KVrfs_get_pre_event_hdd",
        "KVrfs_get_next_event_hdd", "KVrfs_read_start_hdd", "KVrfs_tseek_hdd",             "KVrfs_read_hdd",
        "KVrfs_get_next_kframe_hdd", "KVrfs_get_prev_kframe_hdd", "KVrfs_get_current_kframe_hdd",
        "KVrfs_read_stop_hdd",  "rfs_set_label",            "rfs_find_label_start",        "rfs_get_label",
        "rfs_find_label_stop",  "KVrfs_get_pic_hdd",        "KVrfs_read_pic_hdd"};
    EXPECT_EQ(exportedSymbols(KVPLAYHDD_PATH), expected);
}
