// Any JSON given to zeltool's import: either an error naming a path, or a
// document that keeps every rule the editors keep.
#include "programming/image.h"
#include "exchange/documentjson.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto json = nlohmann::json::parse(data, data + size, nullptr, false);
    if (json.is_discarded())
        return 0;
    TBoardData document;
    document.Product.Password.Set("before");
    const auto error = DocumentFromJson(json, document);
    if (error) {
        if (error->Path.empty() || error->Path[0] != '/' || error->Rule.empty() ||
            document.Product.Password.View() != "before")
            std::abort();
        return 0;
    }
    if (document.Sites.Count() > 16 || document.Banks.Count() > 16)
        std::abort();
    for (const auto& bank : document.Banks) {
        if (bank->Site != nullptr && document.Sites.Find(bank->Site) < 0)
            std::abort();
        if (bank->PttGroup + bank->PttConnect + bank->PttNone != 1 ||
            bank->ButtonGroup + bank->ButtonConnect + bank->ButtonNone != 1)
            std::abort();
    }
    TOptionImage image;
    const int built = BuildImage(image, document);
    if (built != 0 && built != 3)
        std::abort();
    return 0;
}
