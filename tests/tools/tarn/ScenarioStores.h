// Stores written once per test program from scenarios, with the manifest of what they hold.
#pragma once

#include <filesystem>

#include "rfssim/Scenario.h"
#include "rfssim/StoreManifest.h"

struct ScenarioStore {
    std::filesystem::path path;
    int channels = 0;  // the recorder's N
    rfssim::StoreManifest manifest;
};

// Tiny pictures at 5 frames per second keep the stores small and quick to write.
rfssim::VideoSettings tinyVideo();

// Three channels, so that a tool that assumes four shows: both streams, motion, io and a higher type,
// a marked and a hidden event, a recording across midnight and one in the month before.
const ScenarioStore& mixedStore(rfssim::StoreLayout layout);

// The demo scenario's shape, its ten minutes shortened to one.
const ScenarioStore& shortDemoStore();

// Two channels at 25 frames per second with a key frame every 2 s. Channel 1 with sound: three
// back-to-back events of 10 s from 09:00:00, and another 10 s after a gap from 09:01:00. Channel 2: 10 s.
// On a hard disk's folder store or on an SD card.
const ScenarioStore& exportStore(rfssim::VideoCodecKind codec,
                                 rfssim::StoreKind kind = rfssim::StoreKind::HardDisk);
