#include "QueryOptions.h"

#include "RecordTypes.h"

namespace tarn {

void addQueryOptions(CLI::App& command, QueryOptions& options) {
    command.add_option("STORE", options.store, "Store directory, disk image or block device")->required();
    command
        .add_option("--store-channels", options.storeChannels,
                    "The recorder's number of channels N (1 to 64); the store does not record it")
        ->required();
    command.add_option("--channels", options.channels, "Channels to search, such as 1,2,4 (default: all)");
    command.add_option("--stream", options.stream, "main, sub or both (default: main)");
    command.add_option("--types", options.types, "Record types, such as normal,motion,io,type5, or all (default: all)");
    command.add_flag("--json", options.json, "Print JSON");
    command.add_flag("--sd", options.sd, "The store is an SD card's folder (also told by its store version)");
    command.footer(
        "Channels are numbered from 1 as the player shows them. A recorder with N channels stores the main stream\n"
        "of channel c as store channel c-1 and its second stream as store channel c-1+N; the store does not say\n"
        "what N is, so --store-channels must name it (the channel count of the recorder that wrote the store).\n"
        "Times are the recorder's wall-clock times, YYYY-MM-DD HH:MM:SS, with no time zone applied.\n"
        "The store is attached as the player attaches it, which repairs what the recorder left unfinished on\n"
        "the medium (a disk or partition marked bad, an unfinished label area). Work on an image of the disk\n"
        "when the original must stay as it is.");
}

Query resolveQuery(const QueryOptions& options) {
    Query query;
    query.store = options.store;
    query.layout = parseChannelLayout(options.storeChannels);
    query.channels = selectChannels(query.layout, options.channels, options.stream);
    query.recordTypes = parseRecordTypes(options.types);
    query.json = options.json;
    query.sd = options.sd;
    return query;
}

}  // namespace tarn
