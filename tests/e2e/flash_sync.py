#!/usr/bin/env python3
"""Checks a recording of flashes, each a white frame and a short 1 kHz cue
started in the same instant half a frame before a grab, against what the
recorder must keep: sound as long as the film (within 0.1 s), every loud
stretch a cue at its pitch (no garbage), and the cues heard one frame or
less from where their flashes put them, given the loop latency of the
test's own sound path. That latency varies from cue to cue (PlaySound opens
the device each time: 16 to 42 ms measured, now and then 100 ms more), so
the offset is judged by the median of each run of ten cues, which is where
the recorder's placing shows (its faults shift whole stretches of sound),
and each single cue only within two frames; the medians must stay within
half a frame of each other. The offset is the one a player gives: in an
MP4 file it includes the AAC encoder's priming, which the file does not
mark (1600 samples, 33 ms at 48 kHz).

Usage: flash_sync.py FILE.avi|FILE.mp4 LATENCY_MS CUE_MS
Prints one line of figures; exits 1 with the reasons when a check fails."""
import array
import re
import subprocess
import sys

LOUD = 3277  # a tenth of full scale
QUIET_GAP = 0.05  # seconds of quiet between two stretches


def probe(path, stream, entry):
    out = subprocess.run(["ffprobe", "-v", "error", "-select_streams", stream,
                          "-show_entries", "stream=" + entry, "-of", "csv=p=0", path],
                         capture_output=True, text=True, check=True).stdout
    return out.strip()


def white_onsets(path):
    """Times of the frames that turn white after one that is not."""
    log = subprocess.run(["ffmpeg", "-v", "info", "-i", path, "-an",
                          "-vf", "format=gray,showinfo", "-f", "null", "-"],
                         capture_output=True, text=True).stderr
    frames = [(float(t), float(m)) for t, m in
              re.findall(r"pts_time:(\S+).*?mean:\[(\d+(?:\.\d+)?)", log)]
    onsets, was_white = [], False
    for time, mean in frames:
        white = mean > 240
        if white and not was_white:
            onsets.append(time)
        was_white = white
    return onsets


def loud_stretches(path):
    rate = int(probe(path, "a", "sample_rate"))
    # Players start the sound at its first packet's time, which an MP4
    # track need not put at 0; the decoded samples leave it out. A time
    # before 0 is an encoder's priming, which the decoder drops.
    begins = max(0.0, float(probe(path, "a", "start_time")))
    raw = subprocess.run(["ffmpeg", "-v", "error", "-i", path, "-vn", "-ac", "1",
                          "-f", "s16le", "-acodec", "pcm_s16le", "-"],
                         capture_output=True, check=True).stdout
    samples = array.array("h", raw[:len(raw) // 2 * 2])
    gap = int(QUIET_GAP * rate)
    stretches, start, last = [], None, None
    for i, s in enumerate(samples):
        if abs(s) <= LOUD:
            continue
        if start is not None and i - last > gap:
            stretches.append((start, last))
            start = None
        if start is None:
            start = i
        last = i
    if start is not None:
        stretches.append((start, last))
    result = []
    for a, b in stretches:
        # The median cycle between upward zero crossings: the playing side
        # under Wine drops a few ms of a cue now and then, which is no fault
        # of the recording.
        ups = [i for i in range(a, b) if samples[i] <= 0 < samples[i + 1]]
        cycles = sorted(ups[k + 1] - ups[k] for k in range(len(ups) - 1))
        pitch = rate / cycles[len(cycles) // 2] if cycles else 0
        result.append((begins + a / rate, (b - a + 1) / rate, pitch))
    return result, len(samples) / rate


def main():
    path, latency, cue = sys.argv[1], float(sys.argv[2]) / 1000, float(sys.argv[3]) / 1000
    num, den = probe(path, "v", "r_frame_rate").split("/")
    interval = float(den) / float(num)
    # Where each flash puts its cue: its white frame came half a frame after
    # it, the sound the loop's latency after it.
    expected = [f - interval / 2 + latency for f in white_onsets(path)]
    film = float(probe(path, "v", "duration"))
    stretches, sound = loud_stretches(path)
    faults = []
    if abs(sound - film) > 0.1:
        faults.append(f"sound lasts {sound:.3f} s, the film {film:.3f} s")
    errors, onsets = [], {}
    for k, (start, length, pitch) in enumerate(stretches):
        flash = min(range(len(expected)), key=lambda i: abs(start - expected[i]), default=None)
        if abs(pitch - 1000) > 40 or length > 2 * cue + 0.05 or flash is None:
            faults.append(f"at {start:.3f} s {length * 1000:.0f} ms of sound at {pitch:.0f} Hz"
                          " is no cue")
        elif flash in onsets:
            # The playing side under Wine now and then drops a few ms of a
            # cue, splitting it; the rest must follow its onset closely.
            if start - onsets[flash] > cue + 0.15:
                faults.append(f"at {start:.3f} s sound follows a cue too late")
        elif k == 0 and length < cue - 0.02:
            pass  # a cue cut by the device starting while it played
        elif abs(start - expected[flash]) > 2 * interval:
            faults.append(f"the cue at {start:.3f} s has no flash within two frames")
        else:
            onsets[flash] = start
            errors.append(start - expected[flash])
    heard = len(errors)
    # Every flash after the first sound is heard.
    first = stretches[0][0] if stretches else film
    due = sum(1 for e in expected if e > first + interval)
    if heard < due or heard < 3:
        faults.append(f"{heard} cues heard of {due} flashed after the sound began")
    runs = [sorted(errors[i:i + 10]) for i in range(0, heard, 10)]
    medians = [run[len(run) // 2] for run in runs if len(run) >= 3]
    worst_median = max(medians, key=abs, default=0)
    worst = max(errors, key=abs, default=0)
    if abs(worst_median) > interval:
        faults.append(f"ten cues are {worst_median * 1000:+.0f} ms off their flashes")
    # Sound that drifts from the picture (a pause cut short, sound lost)
    # moves the medians apart long before they leave the frame.
    if medians and max(medians) - min(medians) > interval / 2:
        faults.append(f"the offset moves by {(max(medians) - min(medians)) * 1000:.0f} ms")
    if abs(worst) > 2 * interval:
        faults.append(f"a cue is {worst * 1000:+.0f} ms off its flash")
    print(f"film {film:.3f} s, sound {sound:.3f} s, first sound at {first:.3f} s, "
          f"{len(expected)} flashes, {heard} cues heard, offset less latency: medians of ten "
          f"{min(medians, default=0) * 1000:+.0f} to {max(medians, default=0) * 1000:+.0f} ms, "
          f"single cues {min(errors, default=0) * 1000:+.0f} to {max(errors, default=0) * 1000:+.0f} ms"
          f", frame {interval * 1000:.0f} ms")
    for fault in faults:
        print("FAULT: " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
