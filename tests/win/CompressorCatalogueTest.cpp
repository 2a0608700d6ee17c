// The catalogue against the real compressor manager, with fake compressors.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "codecs/BuiltInCompressors.h"
#include "options/CompressorCatalogue.h"
#include "tests/win/FakeCompressors.h"

namespace {

bool AcceptAll(const BITMAPINFOHEADER&) { return true; }
bool RefuseAll(const BITMAPINFOHEADER&) { return false; }

std::string CodeOf(DWORD fourcc) { return std::string(reinterpret_cast<const char*>(&fourcc), 4); }

// A compressor installed before the built-in ones, so that the platform
// lists it before them.
class EarlyCompressor : public ::testing::Environment {
public:
    void SetUp() override {
        installed = std::make_unique<FakeCompressor>("EARL", AcceptAll);
        builtIns = InstallBuiltInCompressors();
    }
    void TearDown() override { installed.reset(); }

    static inline std::unique_ptr<FakeCompressor> installed;
    static inline bool builtIns = false;
};
const auto* const Early = ::testing::AddGlobalTestEnvironment(new EarlyCompressor);

// Where the platform's enumeration lists a handler; -1 when it does not.
int PlatformPosition(const char code[4]) {
    ICINFO info{};
    for (DWORD i = 0; ICInfo(ICTYPE_VIDEO, i, &info); ++i)
        if (CodeOf(info.fccHandler) == code) return static_cast<int>(i);
    return -1;
}

int CountDescribed(const CompressorCatalogue& catalogue, const wchar_t* description) {
    int found = 0;
    for (int i = 0; i < catalogue.Count(); ++i)
        if (lstrcmpW(catalogue.Entry(i).szDescription, description) == 0) ++found;
    return found;
}

// The handlers of the catalogue entries that are fakes of this test ("F...").
std::vector<std::string> FakeEntries(const CompressorCatalogue& catalogue) {
    std::vector<std::string> codes;
    for (int i = 0; i < catalogue.Count(); ++i) {
        const std::string code = CodeOf(catalogue.Entry(i).fccHandler);
        if (code[0] == 'F') codes.push_back(code);
    }
    return codes;
}

}  // namespace

TEST(CompressorCatalogue, ListsAcceptingCompressorsInOrderAndProbesAtScreenDepth) {
    std::vector<BITMAPINFOHEADER> probes;
    FakeCompressor first("F001", AcceptAll);
    FakeCompressor refusing("F002", RefuseAll);
    FakeCompressor watching("F003", [&](const BITMAPINFOHEADER& in) {
        probes.push_back(in);
        return true;
    });
    RecordSettings settings;
    CompressorCatalogue catalogue;
    catalogue.Build(settings);
    EXPECT_EQ(FakeEntries(catalogue), (std::vector<std::string>{"F001", "F003"}));
    ASSERT_EQ(probes.size(), 1u);
    EXPECT_EQ(probes[0].biWidth, 1024);
    EXPECT_EQ(probes[0].biHeight, 768);
    EXPECT_EQ(probes[0].biCompression, static_cast<DWORD>(BI_RGB));
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(probes[0].biBitCount, GetDeviceCaps(screen, BITSPIXEL));
    ReleaseDC(nullptr, screen);
    // Entries are filled by the compressor itself.
    const int last = catalogue.Count() - 1;
    EXPECT_STREQ(catalogue.Entry(last).szDescription, L"Fake compressor");
}

TEST(CompressorCatalogue, HoldsAtMost30Entries) {
    std::vector<std::unique_ptr<FakeCompressor>> fakes;
    for (int i = 0; i < 35; ++i) {
        const std::string code = "F" + std::to_string(100 + i);
        fakes.push_back(std::make_unique<FakeCompressor>(code.c_str(), AcceptAll));
    }
    RecordSettings settings;
    CompressorCatalogue catalogue;
    catalogue.Build(settings);
    EXPECT_EQ(catalogue.Count(), 30);
    // Nothing past the thirtieth accepted compressor is even asked.
    EXPECT_TRUE(fakes[34]->Queries().empty());
}

TEST(CompressorCatalogue, CurCompressorSelectsTheHandlerOrNothing) {
    FakeCompressor a("F201", AcceptAll), b("F202", AcceptAll), c("F203", AcceptAll);
    RecordSettings settings;
    CompressorCatalogue probe;
    probe.Build(settings);
    const int before = probe.Count() - 3;  // the built-in and earlier ones listed first

    RecordSettings chosen;
    chosen.CurCompressor = before + 2;
    CompressorCatalogue catalogue;
    catalogue.Build(chosen);
    EXPECT_EQ(CodeOf(chosen.CurCompressorHandler), "F203");
    ASSERT_NE(catalogue.Chosen(before + 2), nullptr);
    EXPECT_EQ(CodeOf(catalogue.Chosen(before + 2)->fccHandler), "F203");

    RecordSettings pastTheEnd;
    pastTheEnd.CurCompressor = catalogue.Count();
    CompressorCatalogue again;
    again.Build(pastTheEnd);
    EXPECT_EQ(pastTheEnd.CurCompressorHandler, 0x4356534Du);
    EXPECT_EQ(again.Chosen(again.Count()), nullptr);
    EXPECT_EQ(again.Chosen(-1), nullptr);
}

TEST(CompressorCatalogue, ListsMp4FirstThenTheBuiltInsLosslessAndVideo1WhateverThePlatformsOrder) {
    ASSERT_TRUE(EarlyCompressor::builtIns);
    const int early = PlatformPosition("EARL"), zmbv = PlatformPosition("ZMBV");
    ASSERT_GE(early, 0);
    ASSERT_GT(zmbv, early) << "the platform lists the early compressor first";
    RecordSettings newUser;
    CompressorCatalogue catalogue;
    catalogue.Build(newUser);
    ASSERT_GE(catalogue.Count(), 4);
    // Recording straight to MP4, not a compressor of the platform's.
    EXPECT_EQ(CodeOf(catalogue.Entry(0).fccHandler), "BMP4");
    EXPECT_STREQ(catalogue.Entry(0).szDescription, L"H.264 MP4 (for sharing)");
    EXPECT_EQ(ICOpen(ICTYPE_VIDEO, catalogue.Entry(0).fccHandler, ICMODE_QUERY), nullptr);
    EXPECT_EQ(CodeOf(catalogue.Entry(1).fccHandler), "ZMBV");
    EXPECT_STREQ(catalogue.Entry(1).szDescription, L"ZMBV lossless screen codec");
    EXPECT_EQ(CodeOf(catalogue.Entry(2).fccHandler), "MSVC");
    EXPECT_STREQ(catalogue.Entry(2).szDescription, L"Video 1 (built-in)");
    EXPECT_EQ(CodeOf(catalogue.Entry(3).fccHandler), "EARL");
    // A new user's first choice makes a film every player opens.
    EXPECT_EQ(CodeOf(newUser.CurCompressorHandler), "BMP4");
    EXPECT_EQ(catalogue.Chosen(newUser.CurCompressor), &catalogue.Entry(0));
}

TEST(CompressorCatalogue, ListsEachBuiltInOnceThoughThePlatformListsVideo1Too) {
    ASSERT_TRUE(EarlyCompressor::builtIns);
    ASSERT_GE(PlatformPosition("msvc"), 0) << "the platform's own Video 1 entry";
    RecordSettings settings;
    CompressorCatalogue catalogue;
    catalogue.Build(settings);
    EXPECT_EQ(CountDescribed(catalogue, L"ZMBV lossless screen codec"), 1);
    EXPECT_EQ(CountDescribed(catalogue, L"Video 1 (built-in)"), 1);
    for (int i = 3; i < catalogue.Count(); ++i) {
        const DWORD handler = catalogue.Entry(i).fccHandler | 0x20202020;
        EXPECT_NE(handler, mmioFOURCC('z', 'm', 'b', 'v')) << i;
        EXPECT_NE(handler, mmioFOURCC('m', 's', 'v', 'c')) << i;
    }
}
