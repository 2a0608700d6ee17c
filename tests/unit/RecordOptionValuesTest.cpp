#include <gtest/gtest.h>

#include "settings/RecordSettings.h"
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
