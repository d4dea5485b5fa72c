#include "InfoCommand.h"

#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>

#include "StoreSummary.h"
#include "rfs/PackedTime.h"

namespace tarn {
namespace {

std::string timeOrNone(rfs::PackedTime t) {
    return t == 0 ? "none" : rfs::formatTime(rfs::unpackTime(t));
}

std::string range(rfs::PackedTime from, rfs::PackedTime to) {
    if (from == 0 && to == 0)
        return "none";
    return timeOrNone(from) + " .. " + timeOrNone(to);
}

const char* kindName(StoreKind kind) {
    switch (kind) {
        case StoreKind::Directory:
            return "directory";
        case StoreKind::Image:
            return "disk image";
        case StoreKind::BlockDevice:
            return "block device";
    }
    return "";
}

const char* partitionState(const PartitionSummary& p) {
    if (!p.readable)
        return "unreadable";
    return p.info.state >= 2 ? "bad" : "usable";
}

std::string copyList(uint8_t bits) {
    std::string list;
    for (int c = 0; c < rfs::kIndexCopies; ++c)
        if (bits & (1u << c))
            list += (list.empty() ? "" : ",") + std::to_string(c);
    return list.empty() ? "none" : list;
}

std::string dataFileSizeText(uint32_t size) {
    const uint32_t used = rfs::normalisedDataFileSize(size);
    std::string text = std::to_string(used >> 20) + " MiB";
    if (used != size)
        text += " (stored as " + std::to_string(size) + ")";
    return text;
}

// A folder store keeps its labels in label0; an SD card keeps none.
bool hasLabelArea(const StoreSummary& s) {
    return !s.sdCard && (s.param.label_offset != 0 || s.kind == StoreKind::Directory);
}

// An SD card's file-system byte 3 means the card is used raw.
std::string fileSystemText(const StoreSummary& s) {
    return s.sdCard && s.param.fs_type == 3 ? "RAW" : rfs::fileSystemName(s.param.fs_type);
}

nlohmann::json toJson(const StoreSummary& s) {
    const rfs::disk_param_t& p = s.param;
    nlohmann::json partitions = nlohmann::json::array();
    for (const PartitionSummary& part : s.partitions) {
        nlohmann::json j{
            {"number", part.number}, {"state", partitionState(part)}, {"index_copies", copyList(part.validCopies)}};
        if (part.readable) {
            const rfs::part_info_t& i = part.info;
            j["state_code"] = i.state;
            j["active"] = i.active == 1;
            j["files"] = i.file_nr;
            j["free_files"] = i.free_nr;
            j["recordings"] = {{"from", timeOrNone(i.rec_start)}, {"to", timeOrNone(i.rec_end)}};
            j["pictures"] = {{"from", timeOrNone(i.pic_start)}, {"to", timeOrNone(i.pic_end)}};
        }
        partitions.push_back(j);
    }
    return {
        {"path", s.path},
        {"kind", kindName(s.kind)},
        {"medium", s.sdCard ? "SD card" : "hard disk"},
        {"total_size_mb", p.total_size},
        {"file_system", fileSystemText(s)},
        {"version", std::to_string(p.version_hi) + "." + std::to_string(p.version_lo)},
        {"data_file_size", rfs::normalisedDataFileSize(p.dataFileSize)},
        {"disk_state", p.disk_state},
        {"active_partition", p.active_part},
        {"label_area", hasLabelArea(s)},
        {"label_offset", p.label_offset},
        {"free_files", s.freeFiles},
        {"switch", {p.switch_a, p.switch_b}},
        {"partitions", partitions},
    };
}

void printText(const StoreSummary& s, std::ostream& out) {
    const rfs::disk_param_t& p = s.param;
    char line[256];
    auto row = [&](const char* name, const std::string& value) {
        std::snprintf(line, sizeof line, "%-18s %s\n", name, value.c_str());
        out << line;
    };
    row("Store", s.path + " (" + kindName(s.kind) + (s.sdCard ? ", SD card" : "") + ")");
    row("Size", std::to_string(p.total_size) + " MB");
    row("File system", fileSystemText(s));
    row("Version", std::to_string(p.version_hi) + "." + std::to_string(p.version_lo));
    row("Data file size", dataFileSizeText(p.dataFileSize));
    row("Disk state", std::to_string(p.disk_state) + (p.disk_state > 2 ? " (bad)" : " (usable)"));
    row("Active partition", p.active_part == 0 ? "none" : std::to_string(p.active_part - 1));
    row("Label area",
        hasLabelArea(s)
            ? (s.kind == StoreKind::Directory ? "yes (label0)" : "yes (at byte " + std::to_string(p.label_offset) + ")")
            : "no");
    row("Free files", std::to_string(s.freeFiles));
    row("Switch counters", std::to_string(p.switch_a) + " / " + std::to_string(p.switch_b));
    out << "\n";

    std::snprintf(line, sizeof line, "%-4s %-10s %-6s %6s %6s %-7s %-42s %s\n", "Part", "State", "Active", "Files",
                  "Free", "Copies", "Recordings", "Pictures");
    out << line;
    for (const PartitionSummary& part : s.partitions) {
        const rfs::part_info_t& i = part.info;
        std::snprintf(line, sizeof line, "%-4d %-10s %-6s %6s %6s %-7s %-42s %s\n", part.number, partitionState(part),
                      part.readable ? (i.active == 1 ? "yes" : "no") : "-",
                      part.readable ? std::to_string(i.file_nr).c_str() : "-",
                      part.readable ? std::to_string(i.free_nr).c_str() : "-", copyList(part.validCopies).c_str(),
                      part.readable ? range(i.rec_start, i.rec_end).c_str() : "-",
                      part.readable ? range(i.pic_start, i.pic_end).c_str() : "-");
        out << line;
    }
}

}  // namespace

void addInfoCommand(CLI::App& app, int& exitStatus) {
    auto* command = app.add_subcommand("info", "Show a store's parameter block and partitions (reads only)");
    auto store = std::make_shared<std::string>();
    auto json = std::make_shared<bool>(false);
    command->add_option("STORE", *store, "Store directory, disk image or block device")->required();
    command->add_flag("--json", *json, "Print JSON");
    command->callback([store, json, &exitStatus] {
        std::string reason;
        const auto summary = readStoreSummary(*store, reason);
        if (!summary) {
            std::cerr << "tarn: " << reason << "\n";
            exitStatus = 1;
            return;
        }
        if (*json)
            std::cout << toJson(*summary).dump(2) << "\n";
        else
            printText(*summary, std::cout);
        exitStatus = 0;
    });
}

}  // namespace tarn
