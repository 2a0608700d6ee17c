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
    const int before = probe.Count() - 3;  // compressors of the platform listed first

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

TEST(CompressorCatalogue, ListsTheBuiltInVideo1OnceUnderItsHandler) {
    ASSERT_TRUE(InstallBuiltInCompressors());
    RecordSettings settings;
    CompressorCatalogue catalogue;
    catalogue.Build(settings);
    int found = 0;
    for (int i = 0; i < catalogue.Count(); ++i) {
        if (lstrcmpW(catalogue.Entry(i).szDescription, L"Video 1 (built-in)") != 0) continue;
        ++found;
        EXPECT_EQ(CodeOf(catalogue.Entry(i).fccHandler), "MSVC");
    }
    EXPECT_EQ(found, 1);
}
