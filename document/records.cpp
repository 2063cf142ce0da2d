#include "document/records.h"

#include "document/limits.h"
#include "radios/builtin.h"

#include <cstdio>
#include <cstring>

void TGlobalData::SetDefaults() {
    *this = TGlobalData();
}

void TSdData::SetDefaults() {
    for (auto& number : Number)
        number.Clear();
    Route.fill(1);
}

void TProductData::SetDefaults() {
    Password.Clear();
    ModelNumber.Set(radios::kPortable.ModelNumber);
    ProductName.Set(radios::kPortable.ProductName);
}

std::string TRfChannel::GetDisplayText() const {
    return RxFrequency.Str() + " (" + RxCtcss.Str() + ") " + TxFrequency.Str() + " (" +
           TxCtcss.Str() + ")";
}

void TRfChannel::GetDisplayText(char* buffer, std::size_t size) const {
    if (buffer == nullptr || size == 0)
        return;
    std::memset(buffer, 0, size);
    const std::string line = GetDisplayText().substr(0, 255);
    std::memcpy(buffer, line.data(), std::min(line.size(), size - 1));
}

TRfSite& TRfSite::operator=(const TRfSite& other) {
    if (this == &other)
        return *this;
    Name = other.Name;
    Channels.Flush();
    for (const auto& channel : other.Channels) {
        auto copy = std::make_unique<TRfChannel>(*channel);
        Channels.Append(copy);
    }
    return *this;
}

void TRfSite::GetName(char* buffer, std::size_t size) const {
    if (buffer == nullptr || size == 0)
        return;
    const std::size_t length = std::min(Name.Length(), size - 1);
    std::memcpy(buffer, Name.c_str(), length);
    buffer[length] = '\0';
}

void TBankData::SetDefaults() {
    *this = TBankData();
}

TBoardData& TBoardData::operator=(const TBoardData& other) {
    if (this == &other)
        return *this;
    Global = other.Global;
    Sites.Flush();
    for (const auto& site : other.Sites) {
        auto copy = std::make_unique<TRfSite>(*site);
        Sites.Append(copy);
    }
    Banks.Flush();
    for (const auto& bank : other.Banks) {
        auto copy = std::make_unique<TBankData>(*bank);
        const int position = other.Sites.Find(bank->Site);
        copy->Site = position >= 0 ? &Sites[position] : nullptr;
        Banks.Append(copy);
    }
    SpeedDial = other.SpeedDial;
    Product = other.Product;
    return *this;
}

void TBoardData::Reset() {
    Banks.Flush();
    Global.SetDefaults();
    Sites.Flush();
    SpeedDial.SetDefaults();
    Product.SetDefaults();
}

bool SiteInUse(const TBoardData& document, const TRfSite* site) {
    for (const auto& bank : document.Banks)
        if (bank->Site == site)
            return site != nullptr;
    return false;
}
