#include "rfssim/ScenarioJson.h"

#include <fstream>
#include <limits>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

#include "rfssim/SimError.h"

namespace rfssim {
namespace {

using nlohmann::json;

// A JSON object together with its path, so every message can say where the problem is.
class Node {
public:
    Node(const json& value, std::string path) : value_(value), path_(std::move(path)) {}

    // Unknown keys are most often typos; silently ignoring them would write a different store.
    void allowOnly(std::initializer_list<const char*> keys) const {
        requireType(value_.is_object(), path_, "an object");
        const std::set<std::string> known(keys.begin(), keys.end());
        for (const auto& item : value_.items())
            if (!known.contains(item.key()))
                throw SimError("unknown key \"" + item.key() + "\" in " + describe(path_));
    }

    bool has(const char* key) const { return value_.contains(key); }
    Node child(const char* key) const { return Node(value_.at(key), join(key)); }
    const json& at(const char* key) const { return value_.at(key); }

    template <typename Integer>
    void readInteger(const char* key, Integer& target) const {
        if (!has(key))
            return;
        const json& v = value_.at(key);
        requireType(v.is_number_integer(), join(key), "an integer");
        const auto n = v.get<int64_t>();
        if (n < static_cast<int64_t>(std::numeric_limits<Integer>::min()) ||
            n > static_cast<int64_t>(std::numeric_limits<Integer>::max()))
            throw SimError(join(key) + ": " + std::to_string(n) + " is out of range");
        target = static_cast<Integer>(n);
    }

    void readBool(const char* key, bool& target) const {
        if (!has(key))
            return;
        requireType(value_.at(key).is_boolean(), join(key), "true or false");
        target = value_.at(key).get<bool>();
    }

    std::string readString(const char* key) const {
        requireType(value_.at(key).is_string(), join(key), "a string");
        return value_.at(key).get<std::string>();
    }

    rfs::CalendarTime readTime(const char* key) const {
        if (!has(key))
            throw SimError(describe(path_) + " needs \"" + key + "\"");
        const std::string text = readString(key);
        const auto time = rfs::parseTime(text);
        if (!time)
            throw SimError(join(key) + ": \"" + text + "\" is not a time \"YYYY-MM-DD HH:MM:SS\" (years 2000..2063)");
        return *time;
    }

    std::string join(const char* key) const { return path_.empty() ? key : path_ + "." + key; }
    const std::string& path() const { return path_; }

private:
    static std::string describe(const std::string& path) { return path.empty() ? "the scenario" : path; }

    static void requireType(bool ok, const std::string& path, const char* expected) {
        if (!ok)
            throw SimError(describe(path) + " must be " + expected);
    }

    const json& value_;
    std::string path_;
};

StoreLayout readLayout(const Node& node) {
    const std::string text = node.readString("layout");
    if (text == "dir")
        return StoreLayout::Directory;
    if (text == "raw")
        return StoreLayout::RawImage;
    throw SimError(node.join("layout") + ": \"" + text + "\" is neither \"dir\" nor \"raw\"");
}

VideoSettings readVideo(const Node& node, VideoSettings video) {
    node.allowOnly({"codec", "width", "height", "fps", "gop", "bitrate", "grain"});
    if (node.has("codec")) {
        const std::string codec = node.readString("codec");
        if (codec == "h264")
            video.codec = VideoCodecKind::H264;
        else if (codec == "h265")
            video.codec = VideoCodecKind::H265;
        else
            throw SimError(node.join("codec") + ": \"" + codec + "\" is neither \"h264\" nor \"h265\"");
    }
    node.readInteger("width", video.width);
    node.readInteger("height", video.height);
    node.readInteger("fps", video.fps);
    node.readInteger("gop", video.gop);
    node.readInteger("bitrate", video.bitrate);
    node.readInteger("grain", video.grain);
    return video;
}

uint32_t recordingTypeBit(const std::string& name, const std::string& where) {
    if (name == "normal")
        return rfs::RecNormal;
    if (name == "motion")
        return rfs::RecMotion;
    if (name == "io")
        return rfs::RecIo;
    throw SimError(where + ": unknown recording type \"" + name + "\" (normal, motion, io)");
}

uint32_t readTypes(const Node& node) {
    const json& types = node.at("types");
    const std::string where = node.join("types");
    if (types.is_number_integer()) {
        uint32_t mask = 0;
        node.readInteger("types", mask);
        return mask;
    }
    if (!types.is_array())
        throw SimError(where + " must be a list of names or an integer mask");
    uint32_t mask = 0;
    for (const json& name : types) {
        if (!name.is_string())
            throw SimError(where + " must list names such as \"normal\"");
        mask |= recordingTypeBit(name.get<std::string>(), where);
    }
    return mask;
}

PowerLoss readPowerLoss(const Node& node) {
    node.allowOnly({"at", "iend_lost", "wrong_event_number"});
    PowerLoss loss;
    if (node.has("at")) {
        const std::string at = node.readString("at");
        if (at == "before_event")
            loss.at = PowerLoss::At::BeforeEvent;
        else if (at != "in_event")
            throw SimError(node.join("at") + ": \"" + at + "\" is neither \"in_event\" nor \"before_event\"");
    }
    node.readBool("iend_lost", loss.iendLost);
    node.readBool("wrong_event_number", loss.wrongEventNumber);
    return loss;
}

Recording readRecording(const Node& node) {
    node.allowOnly({"channel", "stream", "from", "to", "types", "flag", "audio", "virtual_kf_every", "event_seconds",
                    "file_state", "writing", "new_file", "power_loss"});
    Recording recording;
    if (!node.has("channel"))
        throw SimError(node.path() + " needs \"channel\"");
    node.readInteger("channel", recording.channel);
    if (node.has("stream")) {
        const std::string stream = node.readString("stream");
        if (stream == "sub")
            recording.stream = StreamKind::Sub;
        else if (stream != "main")
            throw SimError(node.join("stream") + ": \"" + stream + "\" is neither \"main\" nor \"sub\"");
    }
    recording.from = node.readTime("from");
    recording.to = node.readTime("to");
    if (node.has("types"))
        recording.recTypes = readTypes(node);
    node.readInteger("flag", recording.flag);
    node.readBool("audio", recording.audio);
    node.readInteger("virtual_kf_every", recording.virtualKeyFrameEvery);
    node.readInteger("event_seconds", recording.eventSeconds);
    uint8_t fileState = recording.fileState;
    node.readInteger("file_state", fileState);
    recording.fileState = static_cast<rfs::FileState>(fileState);
    bool writing = false;
    node.readBool("writing", writing);
    recording.ending = writing ? RecordingEnd::EventStillWriting : RecordingEnd::Finished;
    node.readBool("new_file", recording.newFile);
    if (node.has("power_loss"))
        recording.powerLoss = readPowerLoss(node.child("power_loss"));
    return recording;
}

PictureSeries readPictureSeries(const Node& node) {
    node.allowOnly({"channel", "from", "to", "every_seconds", "types", "extern_length", "uncounted_every", "power_loss"});
    PictureSeries series;
    if (!node.has("channel"))
        throw SimError(node.path() + " needs \"channel\"");
    node.readInteger("channel", series.channel);
    series.from = node.readTime("from");
    series.to = node.readTime("to");
    node.readInteger("every_seconds", series.everySeconds);
    if (node.has("types"))
        series.recTypes = readTypes(node);
    node.readInteger("extern_length", series.externLength);
    node.readInteger("uncounted_every", series.uncountedEvery);
    if (node.has("power_loss")) {
        const Node loss = node.child("power_loss");
        loss.allowOnly({"pend_lost"});
        loss.readBool("pend_lost", series.powerLoss.emplace().pendLost);
    }
    return series;
}

PartitionSettings readPartition(const Node& node) {
    node.allowOnly({"files", "index_valid"});
    PartitionSettings partition;
    node.readInteger("files", partition.files);
    node.readInteger("index_valid", partition.indexValid);
    return partition;
}

template <typename Item>
std::vector<Item> readList(const Node& parent, const char* key, Item (*readItem)(const Node&)) {
    const json& list = parent.at(key);
    if (!list.is_array())
        throw SimError(parent.join(key) + " must be a list");
    std::vector<Item> items;
    for (std::size_t i = 0; i < list.size(); ++i)
        items.push_back(readItem(Node(list[i], parent.join(key) + "[" + std::to_string(i) + "]")));
    return items;
}

ScenarioLabel readLabel(const Node& node) {
    node.allowOnly({"channel", "time", "name", "value", "deleted"});
    ScenarioLabel label;
    node.readInteger("channel", label.channel);
    label.time = node.readTime("time");
    label.name = node.readString("name");
    node.readInteger("value", label.value);
    node.readBool("deleted", label.deleted);
    return label;
}

Scenario readScenario(const Node& root) {
    root.allowOnly({"layout", "sd", "fs_type", "channels", "data_file_size", "events_per_file", "labels", "label_list",
                    "label_write_flag", "partitions", "video", "sub_video", "recordings", "pictures"});
    Scenario scenario;
    if (root.has("layout"))
        scenario.layout = readLayout(root);
    bool sd = false;
    root.readBool("sd", sd);
    scenario.kind = sd ? StoreKind::SdCard : StoreKind::HardDisk;
    if (root.has("fs_type"))
        root.readInteger("fs_type", scenario.fsType.emplace());
    root.readInteger("channels", scenario.channels);
    root.readInteger("data_file_size", scenario.dataFileSize);
    if (root.has("events_per_file"))
        root.readInteger("events_per_file", scenario.eventsPerFile.emplace());
    if (root.has("labels"))
        root.readBool("labels", scenario.labels.emplace());
    if (root.has("label_list"))
        scenario.labelList = readList(root, "label_list", readLabel);
    root.readBool("label_write_flag", scenario.labelWriteFlag);
    if (root.has("partitions"))
        scenario.partitions = readList(root, "partitions", readPartition);
    if (root.has("video"))
        scenario.video = readVideo(root.child("video"), scenario.video);
    if (root.has("sub_video"))
        scenario.subVideo = readVideo(root.child("sub_video"), scenario.subVideo);
    if (root.has("recordings"))
        scenario.recordings = readList(root, "recordings", readRecording);
    if (root.has("pictures"))
        scenario.pictures = readList(root, "pictures", readPictureSeries);
    return scenario;
}

}  // namespace

Scenario parseScenario(const std::string& jsonText) {
    json root;
    try {
        root = json::parse(jsonText);
    } catch (const json::parse_error& e) {
        throw SimError(std::string("the scenario is not valid JSON: ") + e.what());
    }
    return readScenario(Node(root, ""));
}

Scenario loadScenarioFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    if (!in)
        throw SimError("cannot read the scenario " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    try {
        return parseScenario(text.str());
    } catch (const SimError& e) {
        throw SimError(path.string() + ": " + e.what());
    }
}

}  // namespace rfssim
