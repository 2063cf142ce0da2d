// Any bytes at all given as a .zel file: either a valid document or a
// refusal, never a crash, an overrun or a bank pointing outside its sites.
#include "zelfile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<TBoardData> document;
    if (DecodeDocument({data, size}, document) != ZelResult::Ok)
        return 0;
    for (const auto& bank : document->Banks)
        if (bank->Site != nullptr && document->Sites.Find(bank->Site) < 0)
            std::abort();
    // A document that loads must save and load again.
    std::vector<std::uint8_t> again;
    if (EncodeDocument(*document, 1, again) != ZelResult::Ok ||
        DecodeDocument(again, document) != ZelResult::Ok)
        std::abort();
    return 0;
}
