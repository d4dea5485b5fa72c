// mkrfs: writes an rfs store, as a folder or a raw disk image, or an SD card's folder store, the way a
// recorder would have.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "ScenarioHelp.h"
#include "rfssim/OutputTarget.h"
#include "rfssim/QuickScenario.h"
#include "rfssim/ScenarioJson.h"
#include "rfssim/ScenarioValidation.h"
#include "rfssim/SimError.h"
#include "rfssim/StoreWriter.h"
#include "rfssim/VideoEncoder.h"

namespace {

using namespace rfssim;

struct Output {
    std::filesystem::path path;
    StoreLayout layout;
};

// The options of the common case; a scenario file replaces them all.
std::vector<CLI::Option*> addQuickOptions(CLI::App& app, QuickOptions& quick, std::string& codec) {
    return {
        app.add_option("--channels", quick.channels, "channels recording")->capture_default_str(),
        app.add_option("--day", quick.day, "day of the recording, YYYY-MM-DD")->capture_default_str(),
        app.add_option("--from", quick.from, "start time, HH:MM or HH:MM:SS")->capture_default_str(),
        app.add_option("--minutes", quick.minutes, "length of the recording")->capture_default_str(),
        app.add_flag("--sub", quick.sub, "record the second stream too (half size)"),
        app.add_flag("--audio", quick.audio, "record G.711 audio with the main stream"),
        app.add_option("--codec", codec, "h264 or h265")->check(CLI::IsMember({"h264", "h265"}))->capture_default_str(),
        app.add_option("--virtual-kf", quick.virtualKeyFrameEvery, "list every N-th picture of a GOP as a key frame"),
        app.add_option("--width", quick.video.width, "picture width")->capture_default_str(),
        app.add_option("--height", quick.video.height, "picture height")->capture_default_str(),
        app.add_option("--fps", quick.video.fps, "frames per second")->capture_default_str(),
        app.add_option("--gop", quick.video.gop, "pictures per key frame")->capture_default_str(),
        app.add_option("--bitrate", quick.video.bitrate, "bits per second of the main stream")->capture_default_str(),
        app.add_option("--files", quick.files, "data files in the store (default: as many as needed, plus spares)"),
        app.add_flag("--sd", quick.sd, "write an SD card's store (always a folder: use with --dir)"),
    };
}

Scenario buildScenario(const std::string& scenarioFile, QuickOptions quick, const std::string& codec,
                       StoreLayout layout) {
    Scenario scenario;
    if (scenarioFile.empty()) {
        quick.video.codec = codec == "h265" ? VideoCodecKind::H265 : VideoCodecKind::H264;
        scenario = quickScenario(quick);
    } else {
        scenario = loadScenarioFile(scenarioFile);
    }
    if (scenario.layout && *scenario.layout != layout)
        throw SimError(layout == StoreLayout::Directory
                           ? "the scenario asks for a raw image, but --dir was given"
                           : "the scenario asks for a folder store, but --image was given");
    scenario.layout = layout;
    return scenario;
}

unsigned countDataFiles(const StoreManifest& manifest) {
    return std::accumulate(manifest.filesPerPartition.begin(), manifest.filesPerPartition.end(), 0u);
}

int countEvents(const StoreManifest& manifest) {
    int events = 0;
    for (const WrittenFile& file : manifest.files)
        events += static_cast<int>(file.events.size());
    return events;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "Writes a recorder's rfs store (a folder or a raw disk image, or an SD card's folder) holding real "
        "H.264/H.265 video."};
    app.footer(kScenarioHelp);
    std::string dir;
    std::string image;
    std::string scenarioFile;
    bool force = false;
    QuickOptions quick;
    std::string codec = "h264";

    auto* output = app.add_option_group("output", "where the store goes");
    output->add_option("--dir", dir, "write a folder store into DIR");
    output->add_option("--image", image, "write a raw disk image FILE");
    output->require_option(1);
    auto* scenarioOption =
        app.add_option("--scenario", scenarioFile, "JSON scenario describing the store")->check(CLI::ExistingFile);
    app.add_flag("--force", force, "replace an existing image, or the store in a non-empty folder");
    for (CLI::Option* option : addQuickOptions(app, quick, codec))
        scenarioOption->excludes(option);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return app.exit(e) == 0 ? 0 : 1;
    }

    const Output target = dir.empty() ? Output{image, StoreLayout::RawImage} : Output{dir, StoreLayout::Directory};
    bool outputPrepared = false;
    try {
        const Scenario scenario = buildScenario(scenarioFile, quick, codec, target.layout);
        // Before --force removes an earlier store, so a bad scenario costs nothing.
        validateScenario(scenario);
        prepareOutput(target.path, target.layout, force);
        outputPrepared = true;
        quietCodecLogging();
        const auto begin = std::chrono::steady_clock::now();
        const StoreManifest manifest = writeStore(scenario, target.path);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - begin;
        std::printf("mkrfs: wrote %s: %zu of %u data files in use, %d events, in %.1f s\n", target.path.c_str(),
                    manifest.files.size(), countDataFiles(manifest), countEvents(manifest), took.count());
        return 0;
    } catch (const std::exception& e) {
        if (outputPrepared)
            discardOutput(target.path, target.layout);
        std::fprintf(stderr, "mkrfs: %s\n", e.what());
        return 1;
    }
}
