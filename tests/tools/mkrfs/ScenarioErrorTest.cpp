// Scenarios that cannot be written end in an error that names the problem, never in a crash.
#include <gtest/gtest.h>

#include "TempDir.h"
#include "rfssim/ScenarioJson.h"
#include "rfssim/SimError.h"
#include "rfssim/StoreWriter.h"

using namespace rfssim;

namespace {

struct BadScenario {
    const char* name;
    std::string json;
    const char* message;  // part of the error text
};

const std::string kTimes = R"("from": "2026-12-01 09:00:00", "to": "2026-12-01 09:00:05")";

// A folder store with one recording of channel 1 made of the given fields.
std::string withRecording(const std::string& fields) {
    return R"({"layout": "dir", "recordings": [{"channel": 1, )" + fields + "}]}";
}

void PrintTo(const BadScenario& c, std::ostream* os) {
    *os << c.name;
}

const BadScenario kCases[] = {
    {"not_json", "{\"layout\": ", "not valid JSON"},
    {"unknown_key", R"({"layout": "dir", "chanels": 4})", "unknown key \"chanels\" in the scenario"},
    {"unknown_nested_key", R"({"layout": "dir", "video": {"fsp": 5}})", "unknown key \"fsp\" in video"},
    {"wrong_type", R"({"layout": "dir", "channels": "4"})", "channels must be an integer"},
    {"out_of_type_range", R"({"layout": "dir", "partitions": [{"index_valid": 300}]})",
     "partitions[0].index_valid: 300 is out of range"},
    {"too_many_files", R"({"layout": "dir", "partitions": [{"files": 70000}]})", "files must be from 1 to 65535"},
    {"unknown_layout", R"({"layout": "disk"})", "neither \"dir\" nor \"raw\""},
    {"no_layout", R"({"channels": 2})", "names no layout"},
    {"no_channels", R"({"layout": "dir", "channels": 0})", "channels must be from 1"},
    {"bad_data_file_size", R"({"layout": "raw", "data_file_size": 1000000})", "data_file_size"},
    {"two_partitions_in_a_folder", R"({"layout": "dir", "partitions": [{"files": 2}, {"files": 2}]})",
     "exactly one partition"},
    {"five_partitions", R"({"layout": "raw", "partitions": [{}, {}, {}, {}, {}]})", "1 to 4 partitions"},
    {"no_files", R"({"layout": "raw", "partitions": [{"files": 0}]})", "partitions[0].files must be"},
    {"index_valid_too_big", R"({"layout": "raw", "partitions": [{"index_valid": 16}]})", "index_valid"},
    {"odd_width", R"({"layout": "dir", "video": {"width": 161}})", "video.width"},
    {"writing_and_power_loss", withRecording(kTimes + R"(, "writing": true, "power_loss": {})"), "not both"},
    {"iend_lost_before_an_event",
     withRecording(kTimes + R"(, "power_loss": {"at": "before_event", "iend_lost": true})"), "need \"at\": \"in_event\""},
    {"unknown_power_loss_point", withRecording(kTimes + R"(, "power_loss": {"at": "later"})"), "power_loss.at"},
    {"labels_without_area", R"({"layout": "dir", "labels": false, "label_write_flag": true})", "need a label area"},
    {"label_name_too_long",
     R"({"layout": "dir", "label_list": [{"time": "2026-12-01 09:00:00", "name": ")" + std::string(45, 'n') + R"("}]})",
     "label_list[0].name holds at most 44 characters"},
    {"label_channel_beyond_both_streams",
     R"({"layout": "dir", "channels": 2, "label_list": [{"channel": 5, "time": "2026-12-01 09:00:00", "name": "a"}]})",
     "label_list[0].channel must be from 1 to 4"},
    {"too_much_grain", R"({"layout": "dir", "video": {"grain": 65}})", "video.grain must be from 0 to 64"},
    {"unknown_codec", R"({"layout": "dir", "sub_video": {"codec": "vp9"}})", "sub_video.codec"},
    {"impossible_date", withRecording(R"("from": "2026-02-30 09:00:00", "to": "2026-03-01 09:00:00")"),
     "recordings[0].from"},
    {"time_without_seconds", withRecording(R"("from": "2026-12-01 09:00", "to": "2026-12-01 10:00:00")"),
     "recordings[0].from"},
    {"missing_time", withRecording(R"("from": "2026-12-01 09:00:00")"), "needs \"to\""},
    {"ends_before_it_starts", withRecording(R"("from": "2026-12-01 09:00:00", "to": "2026-12-01 08:00:00")"),
     "must come before"},
    {"channel_beyond_the_store", R"({"layout": "dir", "channels": 2, "recordings": [{"channel": 3, )" + kTimes + "}]}",
     "recordings[0].channel must be from 1 to 2"},
    {"unknown_stream", withRecording(kTimes + R"(, "stream": "third")"), "recordings[0].stream"},
    {"unknown_recording_type", withRecording(kTimes + R"(, "types": ["alarm"])"), "unknown recording type \"alarm\""},
    {"no_recording_type", withRecording(kTimes + R"(, "types": 0)"), "at least one recording type"},
    {"virtual_key_frames_beyond_the_gop", withRecording(kTimes + R"(, "virtual_kf_every": 50)"), "virtual_kf_every"},
    {"negative_event_length", withRecording(kTimes + R"(, "event_seconds": -1)"), "event_seconds"},
    {"file_state_of_a_free_file", withRecording(kTimes + R"(, "file_state": 0)"),
     "recordings[0].file_state must be 1, 2, 3 or 4"},
    {"file_state_beyond_repaired", withRecording(kTimes + R"(, "file_state": 5)"),
     "recordings[0].file_state must be 1, 2, 3 or 4"},
    {"writing_not_a_boolean", withRecording(kTimes + R"(, "writing": 1)"),
     "recordings[0].writing must be true or false"},
    {"new_file_not_a_boolean", withRecording(kTimes + R"(, "new_file": "yes")"),
     "recordings[0].new_file must be true or false"},
    {"unknown_recording_key", withRecording(kTimes + R"(, "newfile": true)"),
     "unknown key \"newfile\" in recordings[0]"},
    {"no_events_per_file", R"({"layout": "dir", "events_per_file": 0})", "events_per_file must be from 1 to 256"},
    {"events_per_file_beyond_the_slots", R"({"layout": "dir", "events_per_file": 257})",
     "events_per_file must be from 1 to 256"},
    {"events_per_file_beyond_the_slots_of_1g_files",
     R"({"layout": "raw", "data_file_size": 1073741824, "events_per_file": 513})",
     "events_per_file must be from 1 to 512"},
    {"too_few_files",
     R"({"layout": "dir", "channels": 2, "partitions": [{"files": 1}],
         "video": {"width": 160, "height": 90, "fps": 5, "gop": 10},
         "recordings": [{"channel": 1, )" +
         kTimes + R"(}, {"channel": 2, )" + kTimes + "}]}",
     "more data files"},
    {"pictures_without_channel", R"({"layout": "dir", "pictures": [{)" + kTimes + "}]}",
     "pictures[0] needs \"channel\""},
    {"pictures_beyond_the_channels",
     R"({"layout": "dir", "channels": 2, "pictures": [{"channel": 3, )" + kTimes + "}]}",
     "pictures[0].channel must be from 1 to 2"},
    {"pictures_ending_before_they_start",
     R"({"layout": "dir", "pictures": [{"channel": 1, "from": "2026-12-01 09:00:00", "to": "2026-12-01 08:00:00"}]})",
     "pictures[0]: \"from\""},
    {"pictures_every_zero_seconds",
     R"({"layout": "dir", "pictures": [{"channel": 1, "every_seconds": 0, )" + kTimes + "}]}",
     "pictures[0].every_seconds must be at least 1"},
    {"pictures_without_a_type", R"({"layout": "dir", "pictures": [{"channel": 1, "types": [], )" + kTimes + "}]}",
     "pictures[0].types must name at least one recording type"},
    {"pictures_extern_length_past_the_block",
     R"({"layout": "dir", "pictures": [{"channel": 1, "extern_length": 4096, )" + kTimes + "}]}",
     "pictures[0].extern_length must be from 0 to 4095"},
    {"more_pictures_than_a_file_counts",
     R"({"layout": "dir", "pictures": [{"channel": 1, "from": "2026-12-01 00:00:00", "to": "2026-12-02 00:00:00"}]})",
     "a picture file holds 65535"},
    {"pictures_beyond_a_data_file",
     R"({"layout": "dir", "pictures": [{"channel": 1, "extern_length": 4000,
         "from": "2026-12-01 00:00:00", "to": "2026-12-01 18:00:00"}]})",
     "do not fit into one data file"},
    {"sd_card_as_raw_image", R"({"layout": "raw", "sd": true})", "an SD card's store is a folder"},
    {"sd_card_with_512m_files", R"({"layout": "dir", "sd": true, "data_file_size": 536870912})",
     "an SD card's data files are 256 MiB"},
    {"sd_card_with_labels", R"({"layout": "dir", "sd": true, "labels": true})", "an SD card has no label area"},
    {"sd_card_with_label_list",
     R"({"layout": "dir", "sd": true, "label_list": [{"time": "2026-12-01 09:00:00", "name": "a"}]})",
     "label_list and label_write_flag need a label area"},
    {"sd_card_fs_type_beyond_raw", R"({"layout": "dir", "sd": true, "fs_type": 4})",
     "fs_type of an SD card must be from 0 to 3"},
    {"disk_fs_type_beyond_the_names", R"({"layout": "raw", "fs_type": 8})", "fs_type must be from 0 to 7"},
    {"sd_card_with_virtual_key_frames",
     R"({"layout": "dir", "sd": true, "recordings": [{"channel": 1, "virtual_kf_every": 3, )" + kTimes + "}]}",
     "recordings[0].virtual_kf_every: an SD card lists only I frames"},
    {"sd_not_a_boolean", R"({"layout": "dir", "sd": "yes"})", "sd must be true or false"},
    {"unknown_picture_key", R"({"layout": "dir", "pictures": [{"channel": 1, "every": 5, )" + kTimes + "}]}",
     "unknown key \"every\" in pictures[0]"},
};

class ScenarioErrors : public ::testing::TestWithParam<BadScenario> {};

}  // namespace

TEST_P(ScenarioErrors, NameTheProblem) {
    TempDir dir;
    try {
        writeStore(parseScenario(GetParam().json), dir.path() / "store");
        FAIL() << "the scenario was accepted";
    } catch (const SimError& e) {
        EXPECT_NE(std::string(e.what()).find(GetParam().message), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ScenarioErrors, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });
