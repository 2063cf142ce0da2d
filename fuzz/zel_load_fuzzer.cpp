// Any bytes at all given as a .zel file: either a valid document or a
// refusal, never a crash, an overrun or a bank pointing outside its sites.
// The input is tried twice: as a whole file, and as a plain object stream
// wrapped in a correct container, so that mutations reach the stream reader
// past the check word.
#include "document/zelfile.h"

#include <cstdlib>

namespace {

void Check(std::span<const std::uint8_t> file) {
    std::unique_ptr<TBoardData> document;
    if (DecodeDocument(file, document) != ZelResult::Ok)
        return;
    for (const auto& bank : document->Banks)
        if (bank->Site != nullptr && document->Sites.Find(bank->Site) < 0)
            std::abort();
    // A document that loads must save and load again.
    std::vector<std::uint8_t> again;
    if (EncodeDocument(*document, 1, again) != ZelResult::Ok ||
        DecodeDocument(again, document) != ZelResult::Ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Check({data, size});
    if (size > kMaxPayload)
        return 0;
    std::vector<std::uint8_t> wrapped = {
        0x34, 0x12, static_cast<std::uint8_t>(size & 0xFF), static_cast<std::uint8_t>(size >> 8),
        0,    0};
    wrapped.insert(wrapped.end(), data, data + size);
    const std::uint16_t check = Scramble(0x1234, {wrapped.data() + 6, size});
    wrapped[4] = static_cast<std::uint8_t>(check & 0xFF);
    wrapped[5] = static_cast<std::uint8_t>(check >> 8);
    Check(wrapped);
    return 0;
}
