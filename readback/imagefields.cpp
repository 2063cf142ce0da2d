#include "readback/imagefields.h"

#include <cstdio>

using namespace boardmemory;

namespace {

template <std::size_t N>
ImageField InPart(const Field (&fields)[N], std::string block, std::size_t base,
                  std::size_t address) {
    for (const Field& field : fields)
        if (address < base + field.End())
            return {std::move(block), field.Name, base + field.Offset, field.Width};
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
        return InPart(header::kAll, "header", Header, address);
    if (address < PttNumbers || (address >= SpeedDialCopy && address < kImageSize)) {
        const bool copy = address >= SpeedDialCopy;
        const std::size_t base = copy ? SpeedDialCopy : SpeedDial;
        const std::size_t location = (address - base) / SpeedDialEntry;
        return {copy ? "speed dial copy" : "speed dial", "location " + std::to_string(location),
                base + SpeedDialEntry * location, SpeedDialEntry};
    }
    if (address < ChecksumHeader) {
        const std::size_t entry = (address - PttNumbers) / PttNumberEntry;
        return {"PTT number table", "bank " + std::to_string(entry + 1),
                PttNumbers + PttNumberEntry * entry, PttNumberEntry};
    }
    if (address < Banks)
        return InPart(checksumheader::kAll, "checksum area header", ChecksumHeader, address);
    if (address < Channels) {
        const std::size_t record = (address - Banks) / BankSize;
        return InPart(bank::kAll, Numbered("bank record", record), Banks + BankSize * record,
                      address);
    }
    if (address < Reserved) {
        const std::size_t record = (address - Channels) / ChannelSize;
        return InPart(channel::kAll, Numbered("channel record", record),
                      Channels + ChannelSize * record, address);
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
