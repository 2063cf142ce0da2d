#include "readback/imagefields.h"

#include <cstdio>

using namespace imagelayout;

namespace {

struct Part {
    std::size_t Offset;
    std::size_t Size;
    const char* Name;
};

constexpr Part kHeader[] = {
    {0, 2, "busy channel detect"},
    {2, 2, "conventional operation"},
    {4, 1, "external microphone and model"},
    {5, 1, "disconnect beep"},
    {6, 2, "clear channel alert"},
    {8, 2, "radio-kill"},
    {10, 2, "user programming and keypad calls"},
    {12, 2, "reserved"},
    {14, 2, "end mark"},
};

constexpr Part kChecksumHeader[] = {
    {0, 1, "mark"}, {1, 10, "ESN"}, {11, 3, "reserved"}, {14, 1, "bank count"}, {15, 1, "checksum"},
};

constexpr Part kBank[] = {
    {0, 14, "name"},
    {14, 1, "channel count"},
    {15, 1, "button action"},
    {16, 8, "button action data"},
    {24, 1, "emergency override"},
    {25, 1, "priority override"},
    {26, 1, "secure speech"},
    {27, 3, "primary address"},
    {30, 3, "PTT action"},
    {33, 12, "receive groups"},
    {45, 16, "channel indices"},
};

constexpr Part kChannel[] = {
    {0, 3, "transmit frequency"}, {3, 3, "receive frequency"},   {6, 2, "transmit CTCSS"},
    {8, 2, "receive CTCSS"},      {10, 1, "spacing and Q-Lift"}, {11, 4, "reserved"},
};

template <std::size_t N>
ImageField InPart(const Part (&parts)[N], std::string block, std::size_t base,
                  std::size_t address) {
    for (const Part& part : parts)
        if (address < base + part.Offset + part.Size)
            return {std::move(block), part.Name, base + part.Offset, part.Size};
    return {std::move(block), "", base, 0};
}

std::string Numbered(const char* block, std::size_t index) {
    return std::string(block) + " " + std::to_string(index + 1);
}

} // namespace

std::string ImageField::Describe() const {
    return Name.empty() ? Block : Block + ", " + Name;
}

ImageField FieldAt(std::size_t address) {
    if (address < SpeedDial)
        return InPart(kHeader, "header", Header, address);
    if (address < PttNumbers || (address >= SpeedDialCopy && address < kImageSize)) {
        const bool copy = address >= SpeedDialCopy;
        const std::size_t base = copy ? SpeedDialCopy : SpeedDial;
        const std::size_t location = (address - base) / 8;
        return {copy ? "speed dial copy" : "speed dial", "location " + std::to_string(location),
                base + 8 * location, 8};
    }
    if (address < ChecksumHeader) {
        const std::size_t entry = (address - PttNumbers) / 2;
        return {"PTT number table", "bank " + std::to_string(entry + 1), PttNumbers + 2 * entry, 2};
    }
    if (address < Banks)
        return InPart(kChecksumHeader, "checksum area header", ChecksumHeader, address);
    if (address < Channels) {
        const std::size_t record = (address - Banks) / BankSize;
        return InPart(kBank, Numbered("bank record", record), Banks + BankSize * record, address);
    }
    if (address < Reserved) {
        const std::size_t record = (address - Channels) / ChannelSize;
        return InPart(kChannel, Numbered("channel record", record), Channels + ChannelSize * record,
                      address);
    }
    return {"reserved", "", Reserved, SpeedDialCopy - Reserved};
}

const char* BlockAt(std::size_t address) {
    if (address < SpeedDial)
        return "header";
    if (address < PttNumbers)
        return "speed dial";
    if (address < ChecksumHeader)
        return "PTT number table";
    if (address < Banks)
        return "checksum area header";
    if (address < Channels)
        return "bank records";
    if (address < Reserved)
        return "channel table";
    if (address < SpeedDialCopy)
        return "reserved";
    return "speed dial copy";
}

std::vector<ImageDifference> CompareImages(const TOptionImage& a, const TOptionImage& b) {
    std::vector<ImageDifference> differences;
    for (std::size_t address = 0; address < kImageSize; ++address) {
        if (a[address] == b[address])
            continue;
        ImageField field = FieldAt(address);
        if (!differences.empty() && differences.back().Field == field &&
            differences.back().Last + 1 == address) {
            differences.back().Last = address;
            continue;
        }
        differences.push_back({std::move(field), address, address});
    }
    return differences;
}

std::string DescribeAddresses(const ImageDifference& difference) {
    char text[64];
    if (difference.First == difference.Last)
        std::snprintf(text, sizeof text, "address %zu (0x%03zX)", difference.First,
                      difference.First);
    else
        std::snprintf(text, sizeof text, "addresses %zu..%zu (0x%03zX..0x%03zX)", difference.First,
                      difference.Last, difference.First, difference.Last);
    return text;
}
