// What brantle.exe itself carries besides the shared resources, read back
// from the built file as Windows reads it: the manifest that asks for the
// current controls, awareness of display scaling and the systems it
// supports, and the version resource.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Set by the build: the program next to this test's tree.
const char* const ProgramPath = BRANTLE_PROGRAM_PATH;

std::string EmbeddedManifest() {
    HMODULE program = LoadLibraryExA(ProgramPath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!program) return {};
    std::string text;
    if (HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
        const auto* bytes = static_cast<const char*>(LockResource(LoadResource(program, found)));
        if (bytes) text.assign(bytes, SizeofResource(program, found));
    }
    FreeLibrary(program);
    return text;
}

std::vector<BYTE> VersionBlock() {
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeA(ProgramPath, &unused);
    std::vector<BYTE> block(size);
    if (size == 0 || !GetFileVersionInfoA(ProgramPath, 0, size, block.data())) block.clear();
    return block;
}

std::string VersionString(std::vector<BYTE>& block, const std::string& name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string path = "\\StringFileInfo\\040904B0\\" + name;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ||
        length == 0)
        return {};
    return std::string(value, length - 1);
}

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST(ProgramManifest, AsksForCurrentControlsScalingAwarenessAndNoElevation) {
    const std::string manifest = EmbeddedManifest();
    ASSERT_FALSE(manifest.empty()) << "no manifest resource in " << ProgramPath;
    EXPECT_TRUE(Has(manifest, "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
    EXPECT_TRUE(Has(manifest, "<requestedExecutionLevel level=\"asInvoker\""));
    EXPECT_TRUE(Has(manifest, ">PerMonitorV2</dpiAwareness>"));
    EXPECT_TRUE(Has(manifest, "SMI/2016/WindowsSettings"));
    EXPECT_TRUE(Has(manifest, ">true</dpiAware>"));
    EXPECT_TRUE(Has(manifest, "SMI/2005/WindowsSettings"));
    for (const char* system : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",   // 7
                               "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",   // 8
                               "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",   // 8.1
                               "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})  // 10 and 11
        EXPECT_TRUE(Has(manifest, std::string("<supportedOS Id=\"") + system + "\"/>")) << system;
}

TEST(ProgramVersion, Reads180WithTheProductAndFileNames) {
    std::vector<BYTE> block = VersionBlock();
    ASSERT_FALSE(block.empty()) << "no version resource in " << ProgramPath;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(80, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(80, 1));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(VersionString(block, "FileVersion"), "1.80");
    EXPECT_EQ(VersionString(block, "ProductVersion"), "1.80");
    EXPECT_EQ(VersionString(block, "ProductName"), "Brantle for Windows");
    EXPECT_EQ(VersionString(block, "OriginalFilename"), "brantle.exe");
    EXPECT_EQ(VersionString(block, "FileDescription"), "Brantle for Windows screen recorder");
}
