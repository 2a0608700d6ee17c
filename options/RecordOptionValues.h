// The values the Record Option dialog edits, how they come from the settings
// and go back to them, and which compressor it shows as chosen. Free of
// <windows.h>, so the rules are tested natively.
#pragma once

#include <cstdint>
#include <vector>

struct RecordSettings;

struct RecordOptionValues {
    int Quality = 0;               // slider units, 1..100 once edited
    uint32_t SelectedHandler = 0;  // fccHandler of the chosen compressor
    int CompressorIndex = -1;      // position in the list; -1: none selected
    int Interval = 0;              // ms between grabbed frames
    int KeyFrames = 0;
    int PlayRate = 0;  // frames per second in the file
};

// The dialog's copy: VideoQuality in hundredths (8500 shows as 85); the
// compressor index stays -1 until the list is read.
RecordOptionValues RecordOptionsFrom(const RecordSettings& settings);

// The copy back on OK: quality times 100, CurCompressor from the list position.
void StoreRecordOptions(const RecordOptionValues& values, RecordSettings& settings);

// The list position to select for the wanted handler: its last occurrence,
// else 0 (the first entry). Needs at least one handler.
int InitialCompressorPosition(const std::vector<uint32_t>& handlers, uint32_t wanted);
