#include <gtest/gtest.h>

#include "settings/RecordSettings.h"
#include "engine/KeyFramePace.h"
#include "engine/Mp4Recording.h"
#include "options/RecordOptionValues.h"

TEST(RecordOptionValues, QualityShowsInHundredthsTruncatedAndGoesBackTimes100) {
    RecordSettings settings;
    for (const auto& [stored, shown] : {std::pair{8500, 85}, {8599, 85}, {99, 0}, {10000, 100}}) {
        settings.VideoQuality = stored;
        EXPECT_EQ(RecordOptionsFrom(settings).Quality, shown) << stored;
    }
    RecordOptionValues values = RecordOptionsFrom(settings);
    values.Quality = 1;
    StoreRecordOptions(values, settings);
    EXPECT_EQ(settings.VideoQuality, 100);
}

TEST(RecordOptionValues, CopyBackTakesEveryValueAndTheListPositionButNoOtherSetting) {
    RecordSettings settings;
    settings.CurCompressor = 3;
    settings.AudioFormat = 7;
    RecordOptionValues values = RecordOptionsFrom(settings);
    EXPECT_EQ(values.SelectedHandler, 0x4356534Du);
    EXPECT_EQ(values.CompressorIndex, -1);  // nothing read from the list yet
    EXPECT_EQ(values.Interval, 100);
    EXPECT_EQ(values.KeyFrames, 5);
    EXPECT_EQ(values.PlayRate, 10);

    values = {42, 0x12345678, -1, 20, 100, 1};
    StoreRecordOptions(values, settings);
    EXPECT_EQ(settings.VideoQuality, 4200);
    EXPECT_EQ(settings.CurCompressorHandler, 0x12345678u);
    EXPECT_EQ(settings.CurCompressor, -1);  // an empty list
    EXPECT_EQ(settings.RecordInterval, 20);
    EXPECT_EQ(settings.KeyFrames, 100);
    EXPECT_EQ(settings.PlayRate, 1);
    EXPECT_EQ(settings.AudioFormat, 7);
}

TEST(RecordOptionValues, TheLastEntryWithTheHandlerIsChosenElseTheFirst) {
    EXPECT_EQ(InitialCompressorPosition({1, 2, 3}, 2), 1);
    EXPECT_EQ(InitialCompressorPosition({2, 1, 2, 3}, 2), 2);
    EXPECT_EQ(InitialCompressorPosition({1, 3}, 2), 0);
    EXPECT_EQ(InitialCompressorPosition({5}, 5), 0);
}

// The H.264 entry records MP4: choosing it makes the file's .avi an .mp4,
// choosing any other makes it .avi again; other names stay as they are.
TEST(RecordOptionValues, TheOutputExtensionFollowsTheChosenContainer) {
    RecordSettings settings;
    RecordOptionValues values = RecordOptionsFrom(settings);
    const std::pair<const char*, const char*> toMp4[] = {
        {"C:\\Videos\\take.AVI", "C:\\Videos\\take.mp4"},
        {"C:\\my.films\\take", "C:\\my.films\\take"},
        {"C:\\Videos\\take.mkv", "C:\\Videos\\take.mkv"},
        {"C:\\Videos\\.avi", "C:\\Videos\\.avi"},
    };
    for (const auto& [before, after] : toMp4) {
        settings.SavePath = before;
        values.SelectedHandler = FourccH264Mp4;
        StoreRecordOptions(values, settings);
        EXPECT_EQ(settings.SavePath, after) << before;
    }
    settings.SavePath = "C:\\Videos\\take.mp4";
    values.SelectedHandler = FourccZMBV;
    StoreRecordOptions(values, settings);
    EXPECT_EQ(settings.SavePath, "C:\\Videos\\take.avi");
}

// Quality steps a user can see, from 40 to 16, the default at 20.
TEST(RecordOptionValues, VideoQualityMapsToTheEncodersConstantQuality) {
    EXPECT_EQ(CrfForQuality(0), 40);
    EXPECT_EQ(CrfForQuality(5000), 28);
    EXPECT_EQ(CrfForQuality(8500), 20);
    EXPECT_EQ(CrfForQuality(10000), 16);
    EXPECT_EQ(CrfForQuality(20000), 16);
    for (int q = 1000; q <= 10000; q += 1000) EXPECT_LT(CrfForQuality(q), CrfForQuality(q - 1000));
}
