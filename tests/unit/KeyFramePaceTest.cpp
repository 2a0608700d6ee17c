#include <gtest/gtest.h>

#include "avi/RiffBytes.h"
#include "engine/CompressorFitting.h"
#include "engine/KeyFramePace.h"

TEST(KeyFramePace, ARefusedGrabHurriesTheLosslessCompressorForTheRestOfTheRecording) {
    for (const uint32_t handler : {Fourcc("ZMBV"), Fourcc("zmbv")}) {
        KeyFramePace pace(handler, 8500);
        EXPECT_EQ(pace.Quality(), 8500);
        pace.FellBehind();
        EXPECT_EQ(pace.Quality(), HurriedZmbvQuality);
        EXPECT_EQ(pace.Quality(), HurriedZmbvQuality);
    }
}

TEST(KeyFramePace, LossyCompressorsAndLowQualitiesAreNeverChanged) {
    KeyFramePace lossy(FourccMSVC, 8500);
    lossy.FellBehind();
    EXPECT_EQ(lossy.Quality(), 8500);
    // Already faster than the hurried quality: raising it would slow it down.
    KeyFramePace quick(FourccZMBV, 3000);
    quick.FellBehind();
    EXPECT_EQ(quick.Quality(), 3000);
}
