// The keys of a scenario file, for mkrfs --help. Keep in step with rfssim/ScenarioJson.cpp.
#pragma once

constexpr const char* kScenarioHelp = R"(Scenario file (JSON; unknown keys are errors):
  layout             "dir" or "raw"; optional, must agree with --dir or --image
  sd                 true: an SD card's store (as --sd does): a folder of 256 MiB data files without a
                     label area, 120-byte file records, 16-byte key-frame entries, and before each
                     event's frames a thumbnail ('T' frame record) named by the event record's
                     motion-bit fields; no virtual key frames
  fs_type            the parameter block's file-system byte: on an SD card 0 vfat (default), 1 ext4,
                     2 xfs or 3 raw; on a hard disk 0..7 (default 3)
  channels           channels of the recorder, 1..64 (default 4)
  data_file_size     268435456 (default), 536870912 or 1073741824
  events_per_file    a channel's data file takes at most this many events; the next one starts a new
                     file (default: every event slot of a file, 256, or 512 for 1 GiB files)
  labels             false: no label area (default true; an SD card never has one)
  partitions         list of {"files": 1..65535, "index_valid": 0..15}; a folder store has one
                     (default: one of 16 files)
  video, sub_video   {"codec": "h264" or "h265", "width", "height", "fps", "gop", "bitrate"}
  recordings         list of recordings, each with
    channel            1..channels (required)
    stream             "main" (default) or "sub"
    from, to           "YYYY-MM-DD HH:MM:SS", "to" exclusive (required)
    types              list of "normal", "motion", "io", or an integer mask (default ["normal"])
    flag               event flag: 0 normal (default), 1 left out of searches, 2 listed and marked
    audio              true: G.711 sound with the pictures
    virtual_kf_every   N: every N-th picture of a GOP is listed as a key frame
    event_seconds      N: cut the recording into events of N seconds (default: one event)
    file_state         state of the files holding its events: 1 in use (default), 2 found by event
                       searches only, 3 not searched, 4 repaired; a file never mixes states
    writing            true: its last event is still being written (event record "EvWr")
    new_file           true: its first event starts a new data file
    power_loss         the recorder lost power at its end, leaving the file unclosed (sequence number
                       0xFFFFFFFF) and the partition active: {"at": "in_event" (default; the last
                       event record still "EvWr") or "before_event" (no record yet), "iend_lost": true
                       (no "Iend" slot), "wrong_event_number": true (the "EvWr" record's number is off)}
  pictures           list of picture series (MJPEG snapshots), each in a picture file of its own, with
    channel            1..channels (required)
    from, to           "YYYY-MM-DD HH:MM:SS", "to" exclusive (required)
    every_seconds      one picture every N seconds (default 1); at most 65535 pictures
    types              as for recordings (default ["normal"])
    extern_length      0..4095 bytes before each picture's frame record in its 4 KiB block (default 0)
)";
