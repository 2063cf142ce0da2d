#include "document/objectstream.h"
#include "document/zelfile.h"
#include "support/sample.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#ifndef _WIN32
#include <sys/resource.h>
#endif

namespace {

std::vector<std::uint8_t> Encode(const TBoardData& document, std::uint16_t seed = 1234) {
    std::vector<std::uint8_t> file;
    EXPECT_EQ(EncodeDocument(document, seed, file), ZelResult::Ok);
    return file;
}

// A container around a payload written by hand.
std::vector<std::uint8_t> Wrap(std::vector<std::uint8_t> payload, std::uint16_t seed = 77) {
    std::vector<std::uint8_t> file = {static_cast<std::uint8_t>(seed & 0xFF),
                                      static_cast<std::uint8_t>(seed >> 8),
                                      static_cast<std::uint8_t>(payload.size() & 0xFF),
                                      static_cast<std::uint8_t>(payload.size() >> 8)};
    const std::uint16_t check = Scramble(seed, payload);
    file.push_back(static_cast<std::uint8_t>(check & 0xFF));
    file.push_back(static_cast<std::uint8_t>(check >> 8));
    file.insert(file.end(), payload.begin(), payload.end());
    return file;
}

// Decodes into a document that already holds something, so that a refusal
// can be seen to leave it alone.
ZelResult Decode(const std::vector<std::uint8_t>& file, std::unique_ptr<TBoardData>& document) {
    document = std::make_unique<TBoardData>();
    document->Product.Password.Set("keep");
    return DecodeDocument(file, document);
}

std::filesystem::path TempPath(const std::string& name) {
    const auto directory = std::filesystem::path(testing::TempDir()) / "zelfile-test";
    std::filesystem::create_directories(directory);
    return directory / name;
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

} // namespace

TEST(ZelFile, ScrambleAndUnscrambleAreInverseWithTheSameCheck) {
    std::vector<std::uint8_t> bytes = {0, 1, 2, 250, 255, 125, 131};
    const auto original = bytes;
    const std::uint16_t check = Scramble(0x7ABC, bytes);
    EXPECT_NE(bytes, original);
    EXPECT_EQ(Unscramble(0x7ABC, bytes), check);
    EXPECT_EQ(bytes, original);
    // The first byte by hand: (0 + 125) xor 0xBC.
    std::vector<std::uint8_t> one = {0};
    EXPECT_EQ(Scramble(0x7ABC, one),
              static_cast<std::uint16_t>(((0x7ABC << 3) | (0x7ABC >> 13)) + (125 ^ 0xBC)));
    EXPECT_EQ(one[0], 125 ^ 0xBC);
}

TEST(ZelFile, FullDocumentRoundTripsFieldForField) {
    const TBoardData document = sample::FullDocument();
    const auto path = TempPath("full.zel");
    ASSERT_EQ(SaveDocument(document, path, 4321), ZelResult::Ok);
    std::unique_ptr<TBoardData> loaded;
    ASSERT_EQ(LoadDocument(path, loaded), ZelResult::Ok);
    sample::ExpectSameDocument(*loaded, document);
    for (const auto& bank : loaded->Banks)
        EXPECT_TRUE(bank->Site == nullptr || loaded->Sites.Find(bank->Site) >= 0);
}

TEST(ZelFile, NewDocumentAndPartnerFlagsRoundTrip) {
    TBoardData document;
    document.Global.BusyDetectCtcss = 0;
    document.Global.BusyDetectCarrier = 1;
    document.Global.ExtMicDelayed = 1;
    document.Global.ExtMicStandard = 0;
    document.SpeedDial.Route[3] = 9;
    std::unique_ptr<TBoardData> loaded;
    ASSERT_EQ(Decode(Encode(document), loaded), ZelResult::Ok);
    sample::ExpectSameDocument(*loaded, document);
    EXPECT_EQ(loaded->Global.BusyDetectCtcss, 0);
    EXPECT_EQ(loaded->Global.ExtMicStandard, 0);
    EXPECT_EQ(loaded->SpeedDial.Route[3], 9);
}

TEST(ZelFile, DifferentSeedsDifferentFilesSameDocument) {
    const TBoardData document = sample::FullDocument();
    const auto first = Encode(document, 1);
    const auto second = Encode(document, 30000);
    EXPECT_NE(first, second);
    std::unique_ptr<TBoardData> a, b;
    ASSERT_EQ(Decode(first, a), ZelResult::Ok);
    ASSERT_EQ(Decode(second, b), ZelResult::Ok);
    sample::ExpectSameDocument(*a, *b);
}

TEST(ZelFile, DamagedContainersAreRefusedAndTheDocumentStays) {
    const auto good = Encode(sample::FullDocument());
    std::unique_ptr<TBoardData> document;

    auto badLength = good;
    badLength[2] = 0x00;
    badLength[3] = 0x80;
    EXPECT_EQ(Decode(badLength, document), ZelResult::BadLength);
    EXPECT_EQ(document->Product.Password.View(), "keep");

    for (std::size_t i = 6; i < good.size(); ++i) {
        auto flipped = good;
        flipped[i] ^= 0x01;
        ASSERT_EQ(Decode(flipped, document), ZelResult::BadCheck) << "byte " << i;
    }
    for (std::size_t size = 0; size < good.size(); ++size) {
        const std::vector<std::uint8_t> cut(good.begin(), good.begin() + static_cast<long>(size));
        ASSERT_EQ(Decode(cut, document), ZelResult::Truncated) << "size " << size;
    }
    EXPECT_EQ(document->Product.Password.View(), "keep");

    auto extra = good;
    extra.insert(extra.end(), {1, 2, 3, 4});
    EXPECT_EQ(Decode(extra, document), ZelResult::Ok);
    EXPECT_EQ(document->Product.Password.View(), "secret-p");
}

TEST(ZelFile, ForgedStreamsAreRefusedOrClamped) {
    // Writes a board by hand whose site and bank lists `lists` writes.
    auto board = [](auto lists) {
        opstream body(kMaxPayload);
        body.writeVersion();
        // The root takes back-reference index 0 when a reader builds it; a
        // stand-in written and cut away takes that index on this side.
        const auto mark = body.bytes().size();
        TRfChannel standIn;
        body.writeObjectPointer(&standIn);
        body.bytes().resize(mark);
        body.bytes().push_back(objectstream::kObjectStart);
        body.writeString("TBoardData");
        body.writeWord16(1);
        body.writeObject(TGlobalData{});
        lists(body);
        body.writeObject(TSdData{});
        body.writeObject(TProductData{});
        body.bytes().push_back(objectstream::kObjectEnd);
        return Wrap(body.bytes());
    };
    TRfSite site;
    site.SetName("S");
    TBankData bankOnSite;
    bankOnSite.Site = &site;
    TRfChannel channel;

    struct Case {
        const char* name;
        std::vector<std::uint8_t> file;
        ZelResult expected;
    };
    std::vector<Case> cases;
    cases.push_back({"well-formed", board([&](opstream& out) {
                         out.writeWord32(1);
                         out.writeObjectPointer(&site);
                         out.writeWord32(1);
                         out.writeObjectPointer(&bankOnSite);
                     }),
                     ZelResult::Ok});
    cases.push_back(
        {"18 sites", board([&](opstream& out) { out.writeWord32(18); }), ZelResult::NoDocument});
    cases.push_back({"a site twice in the list", board([&](opstream& out) {
                         out.writeWord32(2);
                         out.writeObjectPointer(&site);
                         out.writeObjectPointer(&site);
                         out.writeWord32(0);
                     }),
                     ZelResult::NoDocument});
    cases.push_back({"a null site", board([&](opstream& out) {
                         out.writeWord32(1);
                         out.writeObjectPointer(nullptr);
                         out.writeWord32(0);
                     }),
                     ZelResult::NoDocument});
    cases.push_back({"a bank on a site outside the list", board([&](opstream& out) {
                         out.writeWord32(0);
                         out.writeWord32(1);
                         out.writeObjectPointer(&bankOnSite);
                     }),
                     ZelResult::NoDocument});
    {
        // The second site's first channel back-referenced as a bank's site.
        TRfSite withChannel;
        auto owned = std::make_unique<TRfChannel>();
        TRfChannel* firstChannel = owned.get();
        withChannel.Channels.Append(owned);
        cases.push_back({"a back-reference to the wrong class", board([&](opstream& out) {
                             out.writeWord32(1);
                             out.writeObjectPointer(&withChannel);
                             out.writeWord32(1);
                             // Write the bank by hand: its Site is the channel.
                             out.bytes().push_back(objectstream::kObjectStart);
                             out.writeString("TBankData");
                             out.writeWord16(1);
                             out.writeString("");
                             out.writeString("");
                             out.writeString("");
                             out.writeObjectPointer(firstChannel);
                         }),
                         ZelResult::NoDocument});
    }
    {
        opstream out(kMaxPayload);
        out.writeVersion();
        out.writeObjectPointer(&channel);
        cases.push_back({"a foreign root", Wrap(out.bytes()), ZelResult::NoDocument});
    }
    {
        opstream out(kMaxPayload);
        out.writeVersion();
        out.writeObjectPointer(nullptr);
        cases.push_back({"a null root", Wrap(out.bytes()), ZelResult::NoDocument});
    }
    cases.push_back({"no stream header", Wrap({'X', 'Y', 'Z', 1, 0}), ZelResult::BadHeader});
    cases.push_back({"an empty payload", Wrap({}), ZelResult::BadHeader});

    for (const auto& c : cases) {
        std::unique_ptr<TBoardData> document;
        EXPECT_EQ(Decode(c.file, document), c.expected) << c.name;
        if (c.expected != ZelResult::Ok) {
            EXPECT_EQ(document->Product.Password.View(), "keep") << c.name;
        }
    }
}

TEST(ZelFile, OverlongStringsAreCutToTheirField) {
    opstream out(kMaxPayload);
    out.writeVersion();
    out.bytes().push_back(objectstream::kObjectStart);
    out.writeString("TBoardData");
    out.writeWord16(1);
    out.bytes().push_back(objectstream::kObjectStart);
    out.writeString("TGlobalData");
    out.writeWord16(1);
    out.writeString("0123456789ABCDEF");
    out.writeWord16(0xFFFF);
    out.bytes().push_back(objectstream::kObjectEnd);
    out.writeWord32(0);
    out.writeWord32(0);
    out.writeObject(TSdData{});
    out.writeObject(TProductData{});
    out.bytes().push_back(objectstream::kObjectEnd);
    std::unique_ptr<TBoardData> document;
    ASSERT_EQ(Decode(Wrap(out.bytes()), document), ZelResult::Ok);
    EXPECT_EQ(document->Global.EsnText.View(), "0123456789");
    EXPECT_EQ(document->Global.DisableDisconnectBeep, 1);
    EXPECT_EQ(document->Global.BusyDetectCarrier, 0);
}

TEST(ZelFile, FailedSaveKeepsThePreviousFile) {
    // Its own folder: the check for temporary files left behind must not see
    // another test's save in progress.
    const auto path = TempPath("kept") / "kept.zel";
    std::filesystem::create_directories(path.parent_path());
    ASSERT_EQ(SaveDocument(TBoardData{}, path, 1), ZelResult::Ok);
    const auto before = ReadFile(path);

#ifndef _WIN32 // a limit on the size of files the process writes is POSIX's
    // A file-size limit below the document's size makes the write fail.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 512;
    setrlimit(RLIMIT_FSIZE, &small);
    const auto result = SaveDocument(sample::FullDocument(), path, 2);
    setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_EQ(result, ZelResult::CannotWrite);
    EXPECT_EQ(ReadFile(path), before);
#endif
    for (const auto& entry : std::filesystem::directory_iterator(path.parent_path()))
        EXPECT_EQ(entry.path().string().find(".zel."), std::string::npos)
            << "temporary file left behind: " << entry.path();
    std::unique_ptr<TBoardData> loaded;
    EXPECT_EQ(LoadDocument(path, loaded), ZelResult::Ok);
    EXPECT_EQ(SaveDocument(TBoardData{}, TempPath("missing-dir") / "x.zel", 1),
              ZelResult::CannotOpen);
    EXPECT_EQ(LoadDocument(TempPath("nothing-here.zel"), loaded), ZelResult::NotFound);
}
