// The catalogue against Wine's DirectSound capture, with the test
// environment's PulseAudio server and its null sink; and, run with no sound
// server reachable, start-up without any device.
#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <string>

#include "framework/WinApp.h"
#include "options/AudioFormatCatalogue.h"
#include "tests/support/FakeProfile.h"

namespace {

constexpr const char* AppKeyPath =
    "Software\\Local AppWizard-Generated Applications\\Brantle for Windows";

bool IsZero(const DeviceGuid& id) {
    const DeviceGuid zero{};
    return std::memcmp(&id, &zero, sizeof zero) == 0;
}

void ExpectCandidate(const WAVEFORMATEX& format, int index) {
    PcmFormat want;
    MakeCandidateFormat(index, want);
    EXPECT_EQ(format.wFormatTag, WAVE_FORMAT_PCM) << index;
    EXPECT_EQ(format.cbSize, 0) << index;
    EXPECT_EQ(format.nSamplesPerSec, want.nSamplesPerSec) << index;
    EXPECT_EQ(format.wBitsPerSample, want.wBitsPerSample) << index;
    EXPECT_EQ(format.nChannels, want.nChannels) << index;
    EXPECT_EQ(format.nBlockAlign, want.nBlockAlign) << index;
    EXPECT_EQ(format.nAvgBytesPerSec, want.nAvgBytesPerSec) << index;
}

// Read from the fake's map: <windows.h> renames GetProfileInt here, but not
// in the fake, which is built without it.
int Stored(const FakeProfile& profile, const std::string& entry) {
    return profile.values.at(std::string("Default\\") + entry).number;
}

bool IsAllZero(const WAVEFORMATEX& format) {
    const WAVEFORMATEX zero{};
    return std::memcmp(&format, &zero, sizeof zero) == 0;
}

// Each test starts from no device and no capture format, as the process does.
class AudioCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override { SetCurrentCaptureFormat(PcmFormat{}); }
    void TearDown() override { ReleaseCaptureDevice(); }
};

class AudioWithoutServerTest : public AudioCatalogueTest {
protected:
    void SetUp() override {
        AudioCatalogueTest::SetUp();
        RegDeleteTreeA(HKEY_CURRENT_USER, AppKeyPath);
        app.SetRegistryKey("Local AppWizard-Generated Applications");
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_CURRENT_USER, AppKeyPath);
        AudioCatalogueTest::TearDown();
    }
    CWinApp app{"Brantle for Windows"};
};

}  // namespace

TEST_F(AudioCatalogueTest, ListsTheDefaultDeviceFirstAndChoosesTheNullSinksMonitor) {
    AudioFormatCatalogue catalogue;
    catalogue.EnumerateCaptureDevices();
    const AudioDeviceList& devices = catalogue.Devices();
    ASSERT_GE(devices.Count(), 2);
    for (int i = 0; i < devices.Count(); ++i)
        std::cout << "device " << i << ": " << devices.Description(i)
                  << (IsZero(devices.Id(i)) ? " (no id)" : "") << "\n";
    EXPECT_EQ(devices.Description(0), "Primary Sound Driver");
    EXPECT_TRUE(IsZero(devices.Id(0)));
    EXPECT_EQ(devices.Chosen(), devices.Count() - 1);
    EXPECT_EQ(devices.Description(devices.Chosen()), "Monitor of Null Output");
    for (int i = 1; i < devices.Count(); ++i) EXPECT_FALSE(IsZero(devices.Id(i))) << i;
}

TEST_F(AudioCatalogueTest, StartupOpensTheChosenDeviceAndProbesEveryCandidate) {
    RecordSettings settings;
    settings.RecordAudio = 1;
    settings.AudioFormat = 0;
    AudioFormatCatalogue catalogue;
    catalogue.Build(settings);
    ASSERT_NE(CaptureDevice(), nullptr);
    EXPECT_EQ(catalogue.Devices().Description(catalogue.Devices().Chosen()),
              "Monitor of Null Output");
    EXPECT_EQ(settings.RecordAudio, 1);
    // Measured under Wine with PulseAudio: every candidate can be captured.
    for (int i = 0; i < CandidateCount; ++i) {
        PcmFormat format;
        MakeCandidateFormat(i, format);
        std::cout << FormatLabel(format) << (catalogue.Supported()[i] ? "" : ": not")
                  << " supported\n";
        EXPECT_TRUE(catalogue.Supported()[i]) << i;
    }
}

TEST_F(AudioCatalogueTest, StartupCapturesInTheStoredFormatOrTheLowestWhenNoneIsStored) {
    for (int stored : {13, 7, 15}) {
        RecordSettings settings;
        settings.AudioFormat = stored;
        AudioFormatCatalogue catalogue;
        catalogue.Build(settings);
        ExpectCandidate(CurrentCaptureFormat(), stored);
        EXPECT_EQ(settings.AudioFormat, stored);
        ReleaseCaptureDevice();
    }
    RecordSettings none;
    none.AudioFormat = -1;
    AudioFormatCatalogue catalogue;
    catalogue.Build(none);
    ExpectCandidate(CurrentCaptureFormat(), 0);
    EXPECT_EQ(none.AudioFormat, -1);
}

TEST_F(AudioCatalogueTest, SelectingAFormatMakesItTheCaptureFormatAndSavesEverySetting) {
    RecordSettings settings;
    settings.Width = 777;
    FakeProfile profile;
    SelectCaptureFormat(7, settings, profile);
    EXPECT_EQ(settings.AudioFormat, 7);
    ExpectCandidate(CurrentCaptureFormat(), 7);
    EXPECT_EQ(Stored(profile, "Audio Format"), 7);
    EXPECT_EQ(Stored(profile, "Width"), 777);

    SelectCaptureFormat(-1, settings, profile);
    const WAVEFORMATEX none = CurrentCaptureFormat();
    EXPECT_EQ(none.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(none.nBlockAlign, 0);
    EXPECT_EQ(none.nAvgBytesPerSec, 0u);
    EXPECT_EQ(none.nSamplesPerSec, 0u);
    EXPECT_EQ(Stored(profile, "Audio Format"), -1);
}

TEST_F(AudioWithoutServerTest, StartupFindsNoDeviceAndTurnsRecordAudioOffInMemoryOnly) {
    RecordSettings stored;
    stored.RecordAudio = 1;
    SaveSettings(app, stored);
    RecordSettings settings;
    LoadSettings(app, settings);
    ASSERT_EQ(settings.RecordAudio, 1);

    AudioFormatCatalogue catalogue;
    catalogue.Build(settings);
    EXPECT_EQ(settings.RecordAudio, 0);
    EXPECT_EQ(catalogue.Devices().Chosen(), -1);
    for (int i = 0; i < catalogue.Devices().Count(); ++i)
        EXPECT_TRUE(IsZero(catalogue.Devices().Id(i))) << catalogue.Devices().Description(i);
    EXPECT_EQ(CaptureDevice(), nullptr);
    EXPECT_TRUE(IsAllZero(CurrentCaptureFormat()));
    for (int i = 0; i < CandidateCount; ++i) EXPECT_FALSE(catalogue.Supported()[i]) << i;

    RecordSettings reloaded;
    LoadSettings(app, reloaded);
    EXPECT_EQ(reloaded.RecordAudio, 1);
}
