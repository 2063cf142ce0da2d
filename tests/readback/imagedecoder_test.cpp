// The image decoder: every image the builder makes from a document comes
// back to a document that builds the same bytes; bytes no document makes are
// reported where they lie.
#include "document/zelfile.h"
#include "programming/image.h"
#include "readback/imagedecoder.h"
#include "readback/imagefields.h"
#include "support/random_document.h"
#include "support/testdata.h"

#include "support/environment.h"

#include <gtest/gtest.h>

#include <optional>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

TOptionImage Built(const TBoardData& document) {
    TOptionImage image;
    EXPECT_EQ(BuildImage(image, document), buildresult::Ok);
    return image;
}

std::string Problems(const DecodedImage& decoded) {
    std::string text;
    for (const DecodeFinding* problem : decoded.Problems())
        text += problem->Text() + "\n";
    return text;
}

// The first differing field, for a readable failure.
std::string FirstDifference(const TOptionImage& a, const TOptionImage& b) {
    const auto differences = CompareImages(a, b);
    return differences.empty() ? ""
                               : differences.front().Field.Describe() + " at " +
                                     DescribeAddresses(differences.front());
}

TOptionImage GoldenImage() {
    std::ifstream file(TestData("golden.bin"), std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
    TOptionImage image{};
    EXPECT_EQ(bytes.size(), kImageSize);
    std::copy_n(bytes.begin(), std::min(bytes.size(), kImageSize), image.begin());
    return image;
}

} // namespace

TEST(ImageDecoder, TheGoldenImageComesBackByteForByte) {
    const TOptionImage golden = GoldenImage();
    const DecodedImage decoded = DecodeImage(golden);
    ASSERT_TRUE(decoded.Clean()) << Problems(decoded);
    const TOptionImage again = Built(*decoded.Document);
    EXPECT_EQ(again, golden) << FirstDifference(again, golden);
}

// The round trip over random documents as the editors make them: all sites
// full, shared channels, banks on any site, every option.
TEST(ImageDecoder, EveryBuiltImageDecodesToADocumentThatBuildsItAgain) {
    sample::RandomDocuments documents(20261210);
    for (int round = 0; round < 600; ++round) {
        const TBoardData document = documents.Next(round % 4 == 0);
        TOptionImage image;
        ASSERT_EQ(BuildImage(image, document), buildresult::Ok) << "round " << round;
        const DecodedImage decoded = DecodeImage(image);
        ASSERT_TRUE(decoded.Clean()) << "round " << round << "\n" << Problems(decoded);
        const TOptionImage again = Built(*decoded.Document);
        ASSERT_EQ(again, image) << "round " << round << ": " << FirstDifference(again, image);
    }
}

TEST(ImageDecoder, SitesComeBackFromTheBanksWithUnusedChannelsApart) {
    TBoardData document;
    const char* names[] = {"Harbour", "Spare", "Depot"};
    for (const char* name : names) {
        auto site = std::make_unique<TRfSite>();
        site->SetName(name);
        document.Sites.Append(site);
    }
    auto add = [&](int site, const char* tx, const char* rx) {
        auto c = std::make_unique<TRfChannel>();
        c->TxFrequency.Set(tx);
        c->RxFrequency.Set(rx);
        document.Sites[site].Channels.Append(c);
    };
    add(0, "451.0625", "456.0625");
    add(0, "451.075", "456.075");
    add(1, "460.1", "465.1");     // no bank uses the spare site
    add(2, "451.075", "456.075"); // shared with the harbour
    add(2, "470.5", "475.5");
    for (TRfSite* site : {&document.Sites[2], &document.Sites[0], &document.Sites[0],
                          static_cast<TRfSite*>(nullptr)}) {
        auto bank = std::make_unique<TBankData>();
        bank->Site = site;
        document.Banks.Append(bank);
    }

    const TOptionImage image = Built(document);
    DecodedImage decoded = DecodeImage(image);
    ASSERT_TRUE(decoded.Clean()) << Problems(decoded);
    const TBoardData& d = *decoded.Document;
    ASSERT_EQ(d.Sites.Count(), 3);
    EXPECT_EQ(d.Sites[0].Name.View(), "Site 1");
    EXPECT_EQ(d.Sites[1].Name.View(), "Unused channels");
    EXPECT_EQ(d.Sites[1].Channels[0].TxFrequency.View(), "460.1");
    EXPECT_EQ(d.Banks[1].Site, &d.Sites[0]);
    EXPECT_EQ(d.Banks[2].Site, &d.Sites[0]) << "banks on one site share the decoded site";
    EXPECT_EQ(d.Banks[0].Site, &d.Sites[2]);
    EXPECT_EQ(d.Banks[3].Site, nullptr);
    EXPECT_EQ(Built(d), image);

    NameSitesAfter(*decoded.Document, document);
    EXPECT_EQ(d.Sites[0].Name.View(), "Harbour");
    EXPECT_EQ(d.Sites[2].Name.View(), "Depot");
    EXPECT_EQ(d.Sites[1].Name.View(), "Unused channels");
}

TEST(ImageDecoder, BytesNoDocumentMakesAreReportedWhereTheyLie) {
    const TOptionImage golden = GoldenImage();
    auto with = [&](std::size_t address, std::uint8_t value, bool fixChecksum = true) {
        TOptionImage image = golden;
        image[address] = value;
        if (fixChecksum) {
            unsigned sum = 0;
            for (std::size_t i = boardmemory::ChecksumHeader; i < boardmemory::Reserved; ++i)
                if (i != boardmemory::ChecksumHeader + boardmemory::checksumheader::Checksum)
                    sum += image[i];
            image[boardmemory::ChecksumHeader + boardmemory::checksumheader::Checksum] =
                static_cast<std::uint8_t>((256 - sum % 256) % 256);
        }
        return image;
    };
    TOptionImage filled;
    filled.fill(0x5A);
    TOptionImage erased;
    erased.fill(0xFF);
    const struct {
        const char* name;
        TOptionImage image;
        const char* where;
    } cases[] = {
        {"every byte 5A", filled, "header, busy channel detect"},
        {"an erased board", erased, "header, external microphone and model"},
        {"a wrong checksum", with(200, golden[200] ^ 0x01, false),
         "checksum area header, checksum"},
        {"reserved bytes set", with(2100, 0x01), "reserved"},
        {"a tone not in the list", with(boardmemory::Channels + 7, 0x9F),
         "channel record 1, transmit CTCSS"},
        {"both spacings", with(boardmemory::Channels + 10, 0x06),
         "channel record 1, spacing and Q-Lift"},
        {"a secure speech code", with(boardmemory::Banks + 26, 0x03),
         "bank record 1, secure speech"},
        {"an index past the table", with(boardmemory::Banks + 45, 65),
         "bank record 1, channel indices"},
        {"the speed dial copy", with(boardmemory::SpeedDialCopy + 3, 0x12), "speed dial copy"},
    };
    for (const auto& c : cases) {
        const DecodedImage decoded = DecodeImage(c.image);
        EXPECT_FALSE(decoded.Clean()) << c.name;
        EXPECT_NE(Problems(decoded).find(c.where), std::string::npos) << c.name << ":\n"
                                                                      << Problems(decoded);
        ASSERT_NE(decoded.Document, nullptr) << "what could be read is kept";
    }
}

TEST(ImageDecoder, TheModelBitChoosesARadioWhoseModelBeginsWithP) {
    const auto config = std::filesystem::path(testing::TempDir()) / "decoder-models";
    std::filesystem::create_directories(config / "quarvelin");
    std::ofstream(config / "quarvelin" / "tarvo-models.txt") << "KP990,PQR55VDK2XC3PD\n";
    TBoardData document;
    document.Product.ProductName.Set("KP990");
    document.Product.ModelNumber.Set("PQR55VDK2XC3PD");
    std::optional<ConfigHome> shop(config);
    const TOptionImage image = Built(document);
    const DecodedImage decoded = DecodeImage(image);
    shop.reset();
    ASSERT_TRUE(decoded.Clean()) << Problems(decoded);
    EXPECT_EQ(decoded.Document->Product.ModelNumber.View(), "PQR55VDK2XC3PD");
    const DecodedImage without = DecodeImage(image);
    EXPECT_NE(Problems(without).find("no radio of the model table"), std::string::npos);
}

TEST(ImageDecoder, SaysWhatTheImageDoesNotCarry) {
    const DecodedImage decoded = DecodeImage(Built(TBoardData{}));
    ASSERT_TRUE(decoded.Clean());
    std::string notes;
    for (const auto& finding : decoded.Findings)
        notes += finding.Text() + "\n";
    for (const char* note : {"site names", "password", "last four"})
        EXPECT_NE(notes.find(note), std::string::npos) << note;
}
