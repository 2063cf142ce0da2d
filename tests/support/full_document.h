// A document at every limit, for tests and benchmarks.
#pragma once

#include "document/records.h"

#include <cstdio>
#include <string>

namespace sample {

// 16 sites of 16 channels (64 distinct), 16 banks, every text at its
// capacity, flags in varied patterns. The product texts are full too, so the
// image builder rejects this product until it is set to a known pair.
inline TBoardData FullDocument() {
    TBoardData document;
    document.Global.EsnText.Set("ABCDEFGHIJKLMN");
    document.Global.VerifyEsn = 1;
    document.Global.ClearChannelAlert = 1;
    document.Global.BusyDetectCtcss = 0;
    document.Global.BusyDetectCarrier = 1;
    document.Global.ExtMicDelayed = 1;
    document.Global.ExtMicStandard = 0;
    document.Global.DisableDisconnectBeep = 1;
    for (int i = 0; i < TSdData::kLocations; ++i) {
        document.SpeedDial.Number[i].Set(std::string(40, static_cast<char>('0' + i)));
        document.SpeedDial.Route[i] = kRouteDigits[i % 9];
    }
    document.Product.Password.Set("secret-password");
    document.Product.ProductName.Set(std::string(40, 'P'));
    document.Product.ModelNumber.Set(std::string(40, 'M'));
    for (int s = 0; s < 16; ++s) {
        auto site = std::make_unique<TRfSite>();
        site->SetName("Site number " + std::to_string(s) + " with a long name");
        for (int c = 0; c < 16; ++c) {
            // 64 distinct channels over the 256: channel k repeats in four sites.
            const int k = (s * 16 + c) % 64;
            char tx[16];
            char rx[16];
            std::snprintf(tx, sizeof tx, "%.4f", 450.0 + 0.0125 * k);
            std::snprintf(rx, sizeof rx, "%.4f", 460.0 + 0.0125 * k);
            auto channel = std::make_unique<TRfChannel>();
            channel->TxFrequency.Set(tx);
            channel->RxFrequency.Set(rx);
            channel->TxCtcss.Set(k % 2 ? "254.1" : "67.0");
            channel->RxCtcss.Set(k % 3 ? "None" : "100.0");
            channel->Spacing12k5 = k % 3 == 0;
            channel->Spacing20k = k % 3 == 1;
            channel->Spacing25k = k % 3 == 2;
            channel->QLift = k % 2;
            site->Channels.Append(channel);
        }
        document.Sites.Append(site);
    }
    for (int b = 0; b < 16; ++b) {
        auto bank = std::make_unique<TBankData>();
        bank->Name.Set("Bank name " + std::to_string(b) + " long");
        bank->SystemId.Set(std::to_string(b % 32));
        bank->PagingCode.Set("1234567890");
        bank->Site = b % 5 == 4 ? nullptr : &document.Sites[15 - b];
        bank->Scrambler = b % 5;
        bank->EmergencyOverride = b % 2;
        bank->PriorityOverride = (b / 2) % 2;
        bank->PttGroup = b % 3 == 0;
        bank->PttConnect = b % 3 == 1;
        bank->PttNone = b % 3 == 2;
        bank->ButtonGroup = b % 3 == 1;
        bank->ButtonConnect = b % 3 == 2;
        bank->ButtonNone = b % 3 == 0;
        bank->PttPagingCode.Set("7654321");
        bank->ButtonPagingCode.Set("12345678");
        bank->ButtonRoute = kRouteDigits[b % 9];
        bank->ButtonNumber.Set(std::string(35, '9'));
        bank->ReceiveGroups.Set("1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16");
        bank->PttRoute = kRouteDigits[(b + 4) % 9];
        bank->PttNumber.Set("(555)123-4567");
        bank->HornAlert = b % 4 == 0;
        document.Banks.Append(bank);
    }
    return document;
}

} // namespace sample
