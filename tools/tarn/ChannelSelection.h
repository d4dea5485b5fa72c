// Channels as users see them and where they lie in a store. A recorder with N channels writes the main
// stream of channel c as store channel c-1 and its second stream as store channel c-1+N. The store
// itself does not record N, so the user names it (--store-channels).
#pragma once

#include <string>
#include <vector>

namespace tarn {

enum class Stream { Main, Sub };

const char* streamName(Stream stream);

struct Channel {
    int number = 1;  // from 1
    Stream stream = Stream::Main;
};

class ChannelLayout {
public:
    // The reader lists store channels 0 to 127: both streams of at most 64 channels.
    static constexpr int kMaxChannels = 64;

    explicit ChannelLayout(int channels) : channels_(channels) {}

    int channels() const { return channels_; }
    int storeChannel(const Channel& channel) const {
        return channel.number - 1 + (channel.stream == Stream::Sub ? channels_ : 0);
    }
    Channel channelAt(int storeChannel) const {
        return Channel{storeChannel % channels_ + 1, storeChannel >= channels_ ? Stream::Sub : Stream::Main};
    }

private:
    int channels_;
};

// The recorder's number of channels from --store-channels. Throws Failure.
ChannelLayout parseChannelLayout(const std::string& text);

struct ChosenChannel {
    Channel channel;
    int storeChannel = 0;
};

// The one channel that --channel and --stream (main or sub) name, and where it lies in the store. Only
// the second stream needs the recorder's channel count (--store-channels, may be empty). Throws Failure.
ChosenChannel chooseOneChannel(const std::string& channel, const std::string& stream,
                               const std::string& storeChannels);

// "channel 2 (main stream)"
std::string channelText(const Channel& channel);

// The channels that --channels (a comma list, empty for all) and --stream (main, sub or both) select,
// by channel number and the main stream first. Throws Failure.
std::vector<Channel> selectChannels(const ChannelLayout& layout, const std::string& channels,
                                    const std::string& stream);

}  // namespace tarn
