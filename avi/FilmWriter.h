// What a recording's two threads ask of the file they write, whatever its
// container: the video thread stores frames at their positions and keeps the
// file current; the audio thread hands over its PCM sound as it comes.
#pragma once

#include <cstdint>

class FilmWriter {
public:
    virtual ~FilmWriter() = default;
    // A frame at position; skipped positions keep the wall clock's timing.
    virtual bool WriteVideo(uint32_t position, const void* data, uint32_t size, bool keyFrame) = 0;
    // Whole sample frames of the recording's PCM format.
    virtual bool WriteAudio(const void* data, uint32_t size) = 0;
    // Everything written so far made safe on the disk when it is due, or now
    // (before the recording rests in a pause).
    virtual bool CommitIfDue() = 0;
    virtual bool CommitNow() = 0;
    // Finishes the file.
    virtual bool Close() = 0;

    virtual uint32_t VideoPositions() const = 0;  // positions stored, skipped ones included
    // The system's error code of the write that failed, 0 when none did.
    virtual uint32_t FileErrorCode() const = 0;
    // The recording outgrew the room its file reserved for an index.
    virtual bool IndexFull() const = 0;
};
