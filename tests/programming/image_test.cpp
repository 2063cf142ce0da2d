#include "document/zelfile.h"
#include "programming/image.h"
#include "support/full_document.h"
#include "support/testdata.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <numeric>

namespace {

using namespace boardmemory;

std::vector<std::uint8_t> Slice(const TOptionImage& image, std::size_t offset, std::size_t size) {
    return {image.begin() + static_cast<long>(offset),
            image.begin() + static_cast<long>(offset + size)};
}

std::unique_ptr<TRfChannel> Channel(const char* tx, const char* rx, const char* txTone = "None",
                                    const char* rxTone = "None") {
    auto channel = std::make_unique<TRfChannel>();
    channel->TxFrequency.Set(tx);
    channel->RxFrequency.Set(rx);
    channel->TxCtcss.Set(txTone);
    channel->RxCtcss.Set(rxTone);
    return channel;
}

TRfSite& AddSite(TBoardData& document, const char* name) {
    auto site = std::make_unique<TRfSite>();
    site->SetName(name);
    TRfSite* raw = site.get();
    document.Sites.Append(site);
    return *raw;
}

TBankData& AddBank(TBoardData& document, TRfSite* site = nullptr) {
    auto bank = std::make_unique<TBankData>();
    bank->Site = site;
    TBankData* raw = bank.get();
    document.Banks.Append(bank);
    return *raw;
}

std::uint8_t* BankRecord(TOptionImage& image, int bank) {
    return image.data() + Banks + BankSize * static_cast<std::size_t>(bank);
}

unsigned ChecksumAreaSum(const TOptionImage& image) {
    return std::accumulate(image.begin() + ChecksumHeader, image.begin() + Reserved, 0u) % 256;
}

TOptionImage EmptyImage() {
    TOptionImage image;
    ClearImage(image);
    return image;
}

} // namespace

TEST(Image, NewDocumentByteForByte) {
    TOptionImage image;
    ASSERT_EQ(BuildImage(image, TBoardData{}), 0);
    TOptionImage expected{};
    const std::uint8_t header[] = {0xFF, 0xFF, 0,    0,    0, 0x01, 0,    0,
                                   0,    0,    0x03, 0x03, 0, 0,    0xC3, 0xC3};
    std::copy(std::begin(header), std::end(header), expected.begin());
    for (int i = 0; i < 10; ++i)
        for (const std::size_t base : {SpeedDial, SpeedDialCopy}) {
            std::fill_n(expected.begin() + static_cast<long>(base + 8 * i), 7, 0xFF);
            expected[base + 8 * i + 7] = 0xF1;
        }
    std::fill_n(expected.begin() + PttNumbers, 32, 0xFF);
    expected[128] = 0x0A;
    expected[143] = 0xF6;
    EXPECT_EQ(image, expected);
}

TEST(Image, ChannelRecord) {
    auto channel = Channel("450.0125", "455.0125", "67.0", "None");
    channel->Spacing12k5 = 0;
    channel->Spacing25k = 1;
    EXPECT_EQ(EncodeChannel(*channel), (TChannelRecord{0x36, 0xEE, 0xE4, 0x37, 0x8B, 0x24, 0x02,
                                                       0x9E, 0x00, 0x00, 0x04, 0, 0, 0, 0}));
    channel->Spacing25k = 0;
    channel->Spacing20k = 1;
    channel->QLift = 1;
    EXPECT_EQ(EncodeChannel(*channel)[10], 0x03);
}

TEST(Image, IdenticalChannelsShareASlot) {
    TBoardData document;
    TRfSite& north = AddSite(document, "North");
    TRfSite& south = AddSite(document, "South");
    auto a = Channel("450.0125", "455.0125");
    auto b = Channel("451", "456");
    auto c = Channel("451", "456");
    auto d = Channel("452", "457");
    north.Channels.Append(a);
    north.Channels.Append(b);
    south.Channels.Append(c);
    south.Channels.Append(d);
    AddBank(document, &north);
    AddBank(document, &south);
    TOptionImage image;
    ASSERT_EQ(BuildImage(image, document), 0);
    EXPECT_EQ(Slice(image, Banks + 14, 1), std::vector<std::uint8_t>{2});
    EXPECT_EQ(Slice(image, Banks + 45, 3), (std::vector<std::uint8_t>{1, 2, 0}));
    EXPECT_EQ(Slice(image, Banks + BankSize + 45, 3), (std::vector<std::uint8_t>{2, 3, 0}));
    EXPECT_EQ(Slice(image, Channels + 3 * ChannelSize, ChannelSize),
              std::vector<std::uint8_t>(ChannelSize, 0));
}

TEST(Image, SixtyFourDistinctChannelsAndNoMore) {
    TBoardData document;
    for (int s = 0; s < 4; ++s) {
        TRfSite& site = AddSite(document, "S");
        for (int c = 0; c < 16; ++c) {
            auto channel = Channel(std::to_string(400 + s * 16 + c).c_str(), "460");
            site.Channels.Append(channel);
        }
    }
    TOptionImage image;
    ASSERT_EQ(BuildImage(image, document), 0);
    TRfSite& extra = AddSite(document, "Extra");
    auto sixtyFifth = Channel("470", "460");
    extra.Channels.Append(sixtyFifth);
    EXPECT_EQ(BuildImage(image, document), 3);
    EXPECT_EQ(image, EmptyImage());
}

TEST(Image, StoredChannelsThatReadAsZeroKeepTheirOwnSlot) {
    // A channel whose texts are not numbers encodes as all zeros; it must
    // not be taken for the free slot after it.
    TBoardData document;
    TRfSite& site = AddSite(document, "S");
    auto zero = Channel("abc", "def");
    auto real = Channel("450", "455");
    site.Channels.Append(zero);
    site.Channels.Append(real);
    AddBank(document, &site);
    TOptionImage image;
    ASSERT_EQ(BuildImage(image, document), 0);
    EXPECT_EQ(Slice(image, Banks + 45, 3), (std::vector<std::uint8_t>{1, 2, 0}));
    EXPECT_EQ(image[Channels + ChannelSize], 0x36);
    EXPECT_EQ(FindChannel(image, TChannelRecord{}, 0), -1);
    EXPECT_EQ(FindChannel(image, TChannelRecord{}, 2), 0);
}

TEST(Image, ReceiveGroupsInReverseOrderAndHornAlert) {
    TBoardData document;
    TBankData& bank = AddBank(document);
    bank.SystemId.Set("7");
    bank.ReceiveGroups.Set("0001;02-0002");
    TBankData& horn = AddBank(document);
    horn.HornAlert = 1;
    TOptionImage image;
    ASSERT_EQ(BuildImage(image, document), 0);
    EXPECT_EQ(Slice(image, Banks + 33, 12),
              (std::vector<std::uint8_t>{0, 0, 0, 0, 0, 0, 0x82, 0x00, 0x02, 0x87, 0x00, 0x01}));
    EXPECT_EQ(Slice(image, Banks + BankSize + 42, 3), (std::vector<std::uint8_t>{0xE0, 0, 0}));
}

TEST(Image, BankActionsAndAddresses) {
    TBoardData document;
    TBankData& group = AddBank(document);
    group.Name.Set("Dispatch");
    group.SystemId.Set("3");
    group.PagingCode.Set("1234");
    group.ButtonNone = 0;
    group.ButtonGroup = 1;
    group.ButtonPagingCode.Set("05-0777");
    group.PttNone = 0;
    group.PttGroup = 1;
    group.PttPagingCode.Set("42");
    group.EmergencyOverride = 1;
    group.Scrambler = 2;
    TBankData& connect = AddBank(document);
    connect.SystemId.Set("45");
    connect.ButtonNone = 0;
    connect.ButtonConnect = 1;
    connect.ButtonRoute = 5;
    connect.ButtonNumber.Set("555-1234");
    connect.PttNone = 0;
    connect.PttConnect = 1;
    connect.PttRoute = 9;
    connect.PttNumber.Set("123");
    connect.Scrambler = -1;
    connect.PriorityOverride = 1;
    TOptionImage image;
    ASSERT_EQ(BuildImage(image, document), 0);

    const auto* g = BankRecord(image, 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(g), 14), "Dispatch      ");
    EXPECT_EQ(Slice(image, Banks + 15, 12),
              (std::vector<std::uint8_t>{0x0A, 0xC5, 0x07, 0x77, 0, 0, 0, 0, 0, 0xFF, 0x00, 0x04}));
    EXPECT_EQ(Slice(image, Banks + 27, 6),
              (std::vector<std::uint8_t>{0xE3, 0x12, 0x34, 0xC3, 0x00, 0x42}));

    const std::size_t c = Banks + BankSize;
    EXPECT_EQ(Slice(image, c + 15, 12),
              (std::vector<std::uint8_t>{0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0x55, 0x51, 0x23, 0x41, 0x00,
                                         0xFF, 0x01}));
    EXPECT_EQ(Slice(image, c + 27, 6), (std::vector<std::uint8_t>{0, 0, 0, 0x09, 0xF1, 0x23}));
    EXPECT_EQ(Slice(image, PttNumbers, 4), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xF1, 0x23}));
}

TEST(Image, EsnOnlyWhenVerifiedAndBankCountBeyondSixteen) {
    TBoardData document;
    document.Global.EsnText.Set("ESN1234567");
    TOptionImage image;
    ASSERT_EQ(BuildImage(image, document), 0);
    EXPECT_EQ(Slice(image, 129, 10), std::vector<std::uint8_t>(10, 0));
    document.Global.VerifyEsn = 1;
    ASSERT_EQ(BuildImage(image, document), 0);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.data() + 129), 10), "ESN1234567");

    for (int i = 0; i < 17; ++i) {
        TBankData& bank = AddBank(document);
        bank.Name.Set("B" + std::to_string(i));
        bank.PttNone = 0;
        bank.PttConnect = 1;
        bank.PttNumber.Set("1");
    }
    ASSERT_EQ(BuildImage(image, document), 0);
    EXPECT_EQ(image[142], 17);
    EXPECT_EQ(Slice(image, PttNumbers + 30, 2), (std::vector<std::uint8_t>{0xFF, 0xF1}));
    EXPECT_EQ(Slice(image, Channels - 1, 1), std::vector<std::uint8_t>{0});
    EXPECT_EQ(image[Banks + 15 * BankSize], 'B');
}

TEST(Image, RejectedProductLeavesTheImageEmpty) {
    TBoardData document = sample::FullDocument();
    TOptionImage image;
    EXPECT_EQ(BuildImage(image, document), 1);
    EXPECT_EQ(image, EmptyImage());
    document.Product.ProductName.Set("KX720");
    document.Product.ModelNumber.Set("TQR41VBL2XC7PD");
    EXPECT_EQ(BuildImage(image, document), 0);
    EXPECT_EQ(image[4] & 0x02, 0) << "model number does not start with P";
}

TEST(Image, ChecksumAreaSumsToZero) {
    std::vector<TBoardData> documents(3);
    documents[1] = sample::FullDocument();
    documents[1].Product.SetDefaults();
    documents[2].Global.VerifyEsn = 1;
    documents[2].Global.EsnText.Set("~~~~~~~~~~");
    AddBank(documents[2]).Name.Set("zzzzzzzzzzzzzz");
    for (const auto& document : documents) {
        TOptionImage image;
        ASSERT_EQ(BuildImage(image, document), 0);
        EXPECT_EQ(ChecksumAreaSum(image), 0u);
    }
}

TEST(Image, GoldenImage) {
    std::unique_ptr<TBoardData> document;
    ASSERT_EQ(LoadDocument(TestData("golden.zel"), document), ZelResult::Ok);
    std::ifstream file(TestData("golden.bin"), std::ios::binary);
    const std::vector<std::uint8_t> golden{std::istreambuf_iterator<char>(file), {}};
    TOptionImage image;
    ASSERT_EQ(BuildImage(image, *document), 0);
    ASSERT_EQ(golden.size(), kImageSize);
    for (std::size_t i = 0; i < kImageSize; ++i)
        EXPECT_EQ(image[i], golden[i]) << "address " << i;
}
