#include "options/RecordOptionValues.h"

#include "engine/Mp4Recording.h"
#include "settings/RecordSettings.h"

RecordOptionValues RecordOptionsFrom(const RecordSettings& settings) {
    RecordOptionValues values;
    values.Quality = settings.VideoQuality / 100;
    values.SelectedHandler = settings.CurCompressorHandler;
    values.Interval = settings.RecordInterval;
    values.KeyFrames = settings.KeyFrames;
    values.PlayRate = settings.PlayRate;
    return values;
}

void StoreRecordOptions(const RecordOptionValues& values, RecordSettings& settings) {
    settings.KeyFrames = values.KeyFrames;
    settings.CurCompressorHandler = values.SelectedHandler;
    settings.RecordInterval = values.Interval;
    settings.PlayRate = values.PlayRate;
    settings.VideoQuality = values.Quality * 100;
    settings.CurCompressor = values.CompressorIndex;
    // The file's extension follows the container.
    settings.SavePath =
        WithContainerExtension(settings.SavePath, IsH264Mp4Handler(values.SelectedHandler));
}

int InitialCompressorPosition(const std::vector<uint32_t>& handlers, uint32_t wanted) {
    for (size_t i = handlers.size(); i-- > 0;)
        if (handlers[i] == wanted) return static_cast<int>(i);
    return 0;
}
