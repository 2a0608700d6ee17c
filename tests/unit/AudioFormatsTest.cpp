#include <gtest/gtest.h>

#include "options/AudioFormats.h"

namespace {

struct Candidate {
    unsigned rate, bits, channels, blockAlign, bytesPerSecond;
    const char* label;
};

// Written out from the table of formats the program offers, not from the rule.
const Candidate Candidates[CandidateCount] = {
    {8000, 8, 1, 1, 8000, "8000 Hz, 8-bit Mono"},
    {8000, 16, 1, 2, 16000, "8000 Hz, 16-bit Mono"},
    {8000, 8, 2, 2, 16000, "8000 Hz, 8-bit Stereo"},
    {8000, 16, 2, 4, 32000, "8000 Hz, 16-bit Stereo"},
    {11025, 8, 1, 1, 11025, "11025 Hz, 8-bit Mono"},
    {11025, 16, 1, 2, 22050, "11025 Hz, 16-bit Mono"},
    {11025, 8, 2, 2, 22050, "11025 Hz, 8-bit Stereo"},
    {11025, 16, 2, 4, 44100, "11025 Hz, 16-bit Stereo"},
    {22050, 8, 1, 1, 22050, "22050 Hz, 8-bit Mono"},
    {22050, 16, 1, 2, 44100, "22050 Hz, 16-bit Mono"},
    {22050, 8, 2, 2, 44100, "22050 Hz, 8-bit Stereo"},
    {22050, 16, 2, 4, 88200, "22050 Hz, 16-bit Stereo"},
    {44100, 8, 1, 1, 44100, "44100 Hz, 8-bit Mono"},
    {44100, 16, 1, 2, 88200, "44100 Hz, 16-bit Mono"},
    {44100, 8, 2, 2, 88200, "44100 Hz, 8-bit Stereo"},
    {44100, 16, 2, 4, 176400, "44100 Hz, 16-bit Stereo"},
};

SupportedFormats Only(std::initializer_list<int> indices) {
    SupportedFormats supported{};
    for (int i : indices) supported[i] = true;
    return supported;
}

}  // namespace

TEST(AudioFormats, EachCandidateHasItsRateShapeSizesAndLabelAndKeepsTagAndExtraSize) {
    for (int i = 0; i < CandidateCount; ++i) {
        const Candidate& want = Candidates[i];
        PcmFormat format;
        format.wFormatTag = 0x55;
        format.cbSize = 22;
        MakeCandidateFormat(i, format);
        EXPECT_EQ(format.nSamplesPerSec, want.rate) << i;
        EXPECT_EQ(format.wBitsPerSample, want.bits) << i;
        EXPECT_EQ(format.nChannels, want.channels) << i;
        EXPECT_EQ(format.nBlockAlign, want.blockAlign) << i;
        EXPECT_EQ(format.nAvgBytesPerSec, want.bytesPerSecond) << i;
        EXPECT_EQ(FormatLabel(format), want.label) << i;
        EXPECT_EQ(format.wFormatTag, 0x55) << i;
        EXPECT_EQ(format.cbSize, 22) << i;
    }
}

TEST(AudioFormats, ChosenCandidateIsPcmWithItsFieldsAndNoneIsTheBareTag) {
    const PcmFormat seven = CaptureFormatFor(7);
    EXPECT_EQ(seven.wFormatTag, WaveFormatPcm);
    EXPECT_EQ(seven.cbSize, 0);
    EXPECT_EQ(seven.nSamplesPerSec, 11025u);
    EXPECT_EQ(seven.nBlockAlign, 4);
    EXPECT_EQ(seven.nAvgBytesPerSec, 44100u);

    const PcmFormat none = CaptureFormatFor(-1);
    EXPECT_EQ(none.wFormatTag, WaveFormatPcm);
    EXPECT_EQ(none.nChannels, 0);
    EXPECT_EQ(none.nSamplesPerSec, 0u);
    EXPECT_EQ(none.nAvgBytesPerSec, 0u);
    EXPECT_EQ(none.nBlockAlign, 0);
    EXPECT_EQ(none.wBitsPerSample, 0);
    EXPECT_EQ(none.cbSize, 0);
}

TEST(AudioFormats, StartupTakesTheStoredChoiceWhenSupportedElseTheLowestSupported) {
    const SupportedFormats sixteenBitOnly = Only({1, 3, 5, 7, 9, 11, 13, 15});
    EXPECT_EQ(StartupCandidate(sixteenBitOnly, 13), 13);
    EXPECT_EQ(StartupCandidate(sixteenBitOnly, 12), 1);
    EXPECT_EQ(StartupCandidate(sixteenBitOnly, -1), 1);
    EXPECT_EQ(StartupCandidate(sixteenBitOnly, 16), 1);
    EXPECT_EQ(StartupCandidate(Only({0, 15}), 15), 15);
    EXPECT_EQ(StartupCandidate(Only({0, 15}), 0), 0);
    EXPECT_EQ(StartupCandidate(Only({}), 3), -1);
    EXPECT_EQ(StartupCandidate(Only({}), -1), -1);
}
