// The shared library shows its C interface and nothing of its internals.
#include <gtest/gtest.h>

#include "ExportedSymbols.h"

TEST(SdExports, LibraryExportsExactlyItsCInterface) {
    const std::set<std::string> expected = {"rfs_init",
                                            "rfs_add_disk",
                                            "rfs_remove_disk",
                                            "rfs_find_start",
                                            "rfs_find_stop",
                                            "rfs_get_event",
                                            "rfs_event_seek",
                                            "rfs_get_current_event",
                                            "rfs_get_pre_event",
                                            "rfs_get_next_event",
                                            "rfs_get_pic",
                                            "rfs_read_start",
                                            "rfs_tseek",
                                            "rfs_tseek_for_index",
                                            "rfs_read",
                                            "rfs_get_next_kframe",
                                            "rfs_get_prev_kframe",
                                            "rfs_get_current_kframe",
                                            "rfs_read_pic",
                                            "rfs_read_stop",
                                            "rfs_get_first_thumbnail",
                                            "rfs_get_start_end_time",
                                            "rfs_is_chn_have_record"};
    EXPECT_EQ(exportedSymbols(KVPLAYSD_PATH), expected);
}
