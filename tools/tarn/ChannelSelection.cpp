#include "ChannelSelection.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "CommaList.h"
#include "Failure.h"

namespace tarn {
namespace {

std::optional<int> wholeNumber(const std::string& text) {
    int value = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (text.empty() || error != std::errc{} || end != last)
        return std::nullopt;
    return value;
}

std::vector<Stream> selectStreams(const std::string& stream) {
    if (stream == "main")
        return {Stream::Main};
    if (stream == "sub")
        return {Stream::Sub};
    if (stream == "both")
        return {Stream::Main, Stream::Sub};
    throw Failure("--stream takes main, sub or both, not \"" + stream + "\"");
}

void checkChannelExists(const ChannelLayout& layout, int number, const std::string& text) {
    if (number < 1 || number > layout.channels())
        throw Failure("channel " + text + " does not exist: the recorder has channels 1 to " +
                      std::to_string(layout.channels()) + " (--store-channels)");
}

std::vector<int> channelNumbers(const ChannelLayout& layout, const std::string& channels) {
    std::vector<int> numbers;
    if (channels.empty()) {
        for (int c = 1; c <= layout.channels(); ++c)
            numbers.push_back(c);
        return numbers;
    }
    for (const std::string& item : splitCommaList(channels)) {
        const auto number = wholeNumber(item);
        if (!number)
            throw Failure("--channels takes channel numbers separated by commas, such as 1,2,4, not \"" + channels +
                          "\"");
        checkChannelExists(layout, *number, item);
        numbers.push_back(*number);
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

}  // namespace

const char* streamName(Stream stream) {
    return stream == Stream::Main ? "main" : "sub";
}

ChannelLayout parseChannelLayout(const std::string& text) {
    const auto channels = wholeNumber(text);
    if (!channels || *channels < 1 || *channels > ChannelLayout::kMaxChannels)
        throw Failure("--store-channels takes the recorder's number of channels, 1 to " +
                      std::to_string(ChannelLayout::kMaxChannels) + ", not \"" + text + "\"");
    return ChannelLayout(*channels);
}

ChosenChannel chooseOneChannel(const std::string& channel, const std::string& stream,
                               const std::string& storeChannels) {
    if (stream != "main" && stream != "sub")
        throw Failure("--stream takes main or sub, not \"" + stream + "\"");
    if (stream == "sub" && storeChannels.empty())
        throw Failure("--stream sub needs --store-channels: the second stream of channel c lies at store channel "
                      "c-1+N for a recorder with N channels");
    const ChannelLayout layout = storeChannels.empty() ? ChannelLayout(ChannelLayout::kMaxChannels)
                                                       : parseChannelLayout(storeChannels);
    const auto number = wholeNumber(channel);
    if (!number)
        throw Failure("--channel takes one channel number, such as 2, not \"" + channel + "\"");
    checkChannelExists(layout, *number, channel);
    const Channel chosen{*number, selectStreams(stream).front()};
    return {chosen, layout.storeChannel(chosen)};
}

std::string channelText(const Channel& channel) {
    return "channel " + std::to_string(channel.number) + " (" + streamName(channel.stream) + " stream)";
}

std::vector<Channel> selectChannels(const ChannelLayout& layout, const std::string& channels,
                                    const std::string& stream) {
    const std::vector<Stream> streams = selectStreams(stream);
    std::vector<Channel> selected;
    for (int number : channelNumbers(layout, channels))
        for (Stream s : streams)
            selected.push_back(Channel{number, s});
    return selected;
}

}  // namespace tarn
