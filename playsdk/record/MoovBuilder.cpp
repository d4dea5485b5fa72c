#include "MoovBuilder.h"

#include <algorithm>

#include "DecoderConfig.h"
#include "RecordCodecs.h"
#include "SampleEntryAtoms.h"
#include "SampleTableAtoms.h"
#include "TrackAtoms.h"

namespace kvplay::record {

namespace {

void addSampleEntry(atom_stsd& stsd, const Mp4Track& track, bool h264) {
    if (track.kind == Mp4Track::Kind::Audio) {
        auto* audio = stsd.add(std::make_unique<atom_audio>(track));
        if (track.codec == kCodecAac)
            audio->add(std::make_unique<atom_esds>(track));
        return;
    }
    auto* video = stsd.add(std::make_unique<atom_video>(track, h264));
    // A key frame without usable parameter sets leaves nothing to describe: the entry goes without.
    if (h264) {
        if (auto record = avcDecoderConfig(track.keptFrame))
            video->add(std::make_unique<atom_avcC>(std::move(*record)));
    } else if (auto record = hevcDecoderConfig(track.keptFrame)) {
        video->add(std::make_unique<atom_hvcC>(std::move(*record)));
    }
}

std::unique_ptr<atom_trak> buildTrak(const TrackLayout& layout, bool h264) {
    const Mp4Track& track = *layout.track;
    const bool video = track.kind == Mp4Track::Kind::Video;
    auto trak = std::make_unique<atom_trak>();
    trak->add(std::make_unique<atom_tkhd>(track));
    auto* mdia = trak->add(std::make_unique<atom_mdia>());
    mdia->add(std::make_unique<atom_mdhd>(track));
    mdia->add(std::make_unique<atom_hdlr>(track.kind));
    auto* minf = mdia->add(std::make_unique<atom_minf>());
    if (video)
        minf->add(std::make_unique<atom_vmhd>());
    else
        minf->add(std::make_unique<atom_smhd>());
    minf->add(std::make_unique<atom_dinf>())->add(std::make_unique<atom_dref>());
    auto* stbl = minf->add(std::make_unique<atom_stbl>());
    addSampleEntry(*stbl->add(std::make_unique<atom_stsd>()), track, h264);
    stbl->add(std::make_unique<atom_stts>(track));
    if (video && track.keyCount() > 0 && track.keyCount() < track.samples().size())
        stbl->add(std::make_unique<atom_stss>(track));
    stbl->add(std::make_unique<atom_stsc>(layout.chunks));
    stbl->add(std::make_unique<atom_stsz>(track));
    stbl->add(std::make_unique<atom_stco>(layout.chunks));
    return trak;
}

}  // namespace

std::unique_ptr<atom_moov> buildMoov(const std::vector<TrackLayout>& tracks, bool h264, uint32_t nextTrackId) {
    uint64_t durationMs = 0;
    for (const TrackLayout& layout : tracks)
        durationMs = std::max(durationMs, toMilliseconds(layout.track->duration(), layout.track->timescale));
    auto moov = std::make_unique<atom_moov>();
    moov->add(std::make_unique<atom_mvhd>(durationMs, nextTrackId));
    for (const TrackLayout& layout : tracks)
        moov->add(buildTrak(layout, h264));
    return moov;
}

}  // namespace kvplay::record
