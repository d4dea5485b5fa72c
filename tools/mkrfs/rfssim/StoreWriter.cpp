#include "rfssim/StoreWriter.h"

#include <map>

#include "rfssim/ChunkPipeline.h"
#include "rfssim/DataFileLedger.h"
#include "rfssim/IndexAreaBuilder.h"
#include "rfssim/LabelArea.h"
#include "rfssim/PictureFileWriter.h"
#include "rfssim/RecordingPlan.h"
#include "rfssim/ScenarioValidation.h"
#include "rfssim/SizedRecords.h"
#include "rfssim/StoreGeometry.h"
#include "rfssim/StoreMedium.h"
#include "rfssim/TrackWriter.h"

namespace rfssim {
namespace {

void writeRecordings(const RecordingPlan& plan, const StoreGeometry& geometry, uint32_t eventsPerFile,
                     StoreMedium& medium, DataFileLedger& ledger) {
    const DataFileOpener open = [&medium](DataFileSlot slot) {
        return medium.openDataFile(slot.partition, slot.index);
    };
    std::vector<TrackWriter> tracks;  // in the order their channels first record
    std::map<int, std::size_t> trackOfChannel;
    encodeInOrder(plan, [&](const ChunkJob& job, EncodedChunk&& chunk) {
        const PlannedEvent& event = plan.events[job.eventIndex];
        const auto [found, added] = trackOfChannel.try_emplace(event.storeChannel, tracks.size());
        if (added)
            tracks.emplace_back(geometry.dataFile, eventsPerFile, ledger, open, event.storeChannel);
        tracks[found->second].write(event, job, chunk);
    });
    for (TrackWriter& track : tracks)
        track.close();
}

// Each series of pictures takes a data file of its own, after the recordings' files.
void writePictures(const Scenario& scenario, const StoreGeometry& geometry, StoreMedium& medium,
                   DataFileLedger& ledger) {
    for (const PictureSeries& series : scenario.pictures) {
        const DataFileSlot slot = ledger.allocate();
        const std::unique_ptr<ByteSink> sink = medium.openDataFile(slot.partition, slot.index);
        ledger.recordClosed(writePictureFile(geometry.dataFile, slot, series, ledger.nextSequence(), *sink));
    }
}

void writeFreeFiles(const StoreGeometry& geometry, StoreMedium& medium, const DataFileLedger& ledger) {
    for (const DataFileSlot& slot : ledger.unallocated())
        medium.openDataFile(slot.partition, slot.index)
            ->writeAt(0, fileRecordBytes(freeFileRecord(geometry.dataFile, slot.index), geometry.dataFile.kind));
}

void writeIndexAreas(const StoreGeometry& geometry, StoreMedium& medium, const DataFileLedger& ledger) {
    for (std::size_t p = 0; p < geometry.filesPerPartition.size(); ++p) {
        const int partition = static_cast<int>(p);
        const std::vector<Extent> extents = buildIndexArea(geometry.param, geometry.dataFile, partition,
                                                           geometry.filesPerPartition[p], ledger.closedFiles());
        for (int copy = 0; copy < rfs::kIndexCopies; ++copy)
            for (const Extent& extent : extents)
                medium.writeIndexArea(partition, copy, extent.offset, extent.bytes);
    }
}

}  // namespace

StoreManifest writeStore(const Scenario& scenario, const std::filesystem::path& path) {
    validateScenario(scenario);
    const StoreGeometry geometry = computeGeometry(scenario);
    const RecordingPlan plan = planRecordings(scenario);
    const std::unique_ptr<StoreMedium> medium = createMedium(*scenario.layout, path, geometry);
    DataFileLedger ledger(geometry.filesPerPartition);

    writeRecordings(plan, geometry, scenario.eventsPerFile.value_or(geometry.dataFile.eventsPerFile), *medium, ledger);
    writePictures(scenario, geometry, *medium, ledger);
    writeFreeFiles(geometry, *medium, ledger);
    writeIndexAreas(geometry, *medium, ledger);
    if (hasLabelArea(scenario))
        medium->writeLabelArea(0, labelArea(scenario));
    medium->writeParamBlock(geometry.param);
    return makeManifest(*scenario.layout, geometry, ledger.closedFiles());
}

}  // namespace rfssim
