#!/usr/bin/env python3
"""Finds the recorder's left-click marks in decoded frames.

Usage: click_marks.py FRAMES.rgb24 WIDTH HEIGHT RATE X,Y,T [X,Y,T ...]

FRAMES.rgb24 holds the film's frames as raw rgb24 (ffmpeg -f rawvideo
-pix_fmt rgb24). Each X,Y,T is a left click made at frame position (X, Y),
T seconds after the recording started (as the script saw it start).

A left click leaves a disc 64 pixels across, centred on the cursor, that is
ANDed into the frame in the left-click colour, cyan by default: the red
channel is cleared and green and blue are kept. Frame 0, taken before any
click, is the reference: a pixel counts as marked when its red has dropped
to at most a third of the reference's while green and blue stayed close.

For every click the script checks that frame 0 has red at the spot (so
there is no mark yet and one would show), that the mark is in at least one
frame and in no more than three (it shows for the click, then goes), that
the first frame with it lies near the click's time, and that the marked
pixels are centred on the click. Prints one line per click; exits 1 with
the reason when a check fails.
"""
import sys

RADIUS = 30  # inside the disc (radius 32), leaving room for the codec's blocks
AROUND = 60  # where marked pixels are looked for to find the mark's centre
CENTRE_TOLERANCE = 8  # pixels; the cursor drawn over the disc hides a part of it
EARLY, LATE = 0.5, 1.5  # seconds before and after the click's time


def fail(message):
    print(f"FAIL: {message}", file=sys.stderr)
    sys.exit(1)


class Film:
    def __init__(self, path, width, height):
        self.data = open(path, "rb").read()
        self.width, self.height = width, height
        self.frame_size = width * height * 3
        self.count = len(self.data) // self.frame_size
        if self.count < 2:
            fail(f"the film has {self.count} frames")

    def pixel(self, frame, x, y):
        at = frame * self.frame_size + (y * self.width + x) * 3
        return self.data[at], self.data[at + 1], self.data[at + 2]

    def marked(self, frame, x, y):
        r, g, b = self.pixel(frame, x, y)
        r0, g0, b0 = self.pixel(0, x, y)
        return r * 3 <= r0 and abs(g - g0) <= 24 and abs(b - b0) <= 24

    def points(self, cx, cy, radius):
        for y in range(max(0, cy - radius), min(self.height, cy + radius + 1)):
            for x in range(max(0, cx - radius), min(self.width, cx + radius + 1)):
                if (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius:
                    yield x, y


def main():
    if len(sys.argv) < 6:
        fail(__doc__.splitlines()[2])
    film = Film(sys.argv[1], int(sys.argv[2]), int(sys.argv[3]))
    rate = float(sys.argv[4])
    clicks = [tuple(float(v) for v in arg.split(",")) for arg in sys.argv[5:]]

    for x, y, t in clicks:
        cx, cy = int(x), int(y)
        disc = list(film.points(cx, cy, RADIUS))
        if len(disc) < 2000:
            fail(f"click ({cx},{cy}) is too near the film's edge to see its mark")
        reds = sorted(film.pixel(0, px, py)[0] for px, py in disc)
        if reds[len(reds) // 2] < 24:
            fail(f"frame 0 has no red at ({cx},{cy}) that a cyan mark could clear")

        # At least half the disc: the cursor covers a part, the codec blurs the edge.
        frames = [f for f in range(1, film.count)
                  if sum(film.marked(f, px, py) for px, py in disc) >= len(disc) // 2]
        if not frames:
            fail(f"no frame shows a mark at ({cx},{cy}), clicked at {t:.2f} s")
        if len(frames) > 3:
            fail(f"the mark at ({cx},{cy}) stays: in frames {frames}")
        seen = frames[0] / rate
        if not t - EARLY <= seen <= t + LATE:
            fail(f"the mark at ({cx},{cy}) is in frame {frames[0]} ({seen:.1f} s), "
                 f"the click was at {t:.2f} s")
        around = [(px, py) for px, py in film.points(cx, cy, AROUND)
                  if film.marked(frames[0], px, py)]
        mx = sum(p[0] for p in around) / len(around)
        my = sum(p[1] for p in around) / len(around)
        if abs(mx - cx) > CENTRE_TOLERANCE or abs(my - cy) > CENTRE_TOLERANCE:
            fail(f"the mark for the click at ({cx},{cy}) is centred at ({mx:.1f},{my:.1f})")
        print(f"click ({cx},{cy}) at {t:.2f} s: mark in frames {frames}, "
              f"centred at ({mx:.1f},{my:.1f})")


if __name__ == "__main__":
    main()
