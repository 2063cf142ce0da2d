// Any settings file text: the port stays 1..4 and VoidSpecs 0 or 1.
#include "app/core/settings.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TAppSettings settings;
    ParseSettings(std::string_view(reinterpret_cast<const char*>(data), size), settings);
    if (settings.Port < 1 || settings.Port > 4 ||
        (settings.VoidSpecs != 0 && settings.VoidSpecs != 1))
        std::abort();
    return 0;
}
