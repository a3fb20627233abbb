#!/usr/bin/env python3
"""Times the real mereflow.scr under Wine on Xvfb: from starting the process to the first
frame on the screen, for the Desktop, Chomify and Custom pictures, the same for Desktop and
Chomify on two monitors (Xephyr), and from a key press to the end of the process. Run through bench/startup_bench.sh, which provides the display and the
Wine prefix. Usage: startup_bench.py BUILD_DIR [RUNS]"""

import os
import statistics
import sys
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import wine_driver as w  # noqa: E402

AREA = (256, 192, 512, 384)  # the middle of the screen
POLL_TIMEOUT = 30


def first_frame_seconds(space, started, backdrop):
    """Seconds from `started` to the first reading of the middle of the screen that shows a
    drawn surface. Over a backdrop the saver's black window comes first: the first bright
    reading after it is the first frame (the surface then still looks much like the backdrop),
    and a reading that differs from the backdrop in most places counts as one too."""
    reader = w.ScreenReader()
    seen_black = backdrop is None
    try:
        while time.monotonic() - started < POLL_TIMEOUT:
            samples = reader.pixels(*AREA, step=16)
            now = time.monotonic()
            bright = w.brightness(samples)
            seen_black = seen_black or bright < 10
            if bright > 60 and (seen_black or w.changed_share(backdrop, samples) > 0.4):
                return now - started
        raise RuntimeError("no frame within %d s" % POLL_TIMEOUT)
    finally:
        reader.close()


def run_once(space, store, backdrop):
    w.store_settings(store)
    w.move_pointer(*w.CENTRE)
    started = time.monotonic()
    saver = space.start("mereflow.scr", "/s")
    try:
        frame = first_frame_seconds(space, started, backdrop)
        time.sleep(0.5)
        pressed = time.monotonic()
        w.xdotool("key", "space")
        code, _ = w.wait_exit(saver, 10)
        ended = time.monotonic() - pressed
        if code != 0:
            raise RuntimeError(f"exit status {code}")
        return frame, ended
    finally:
        w.stop(saver)


def show_backdrop(space, command="backdrop"):
    """Starts the helper's coloured bars over the primary screen ("backdrop") or a colour on
    every monitor ("monitors"); returns (process, samples)."""
    helper = space.start("e2e_helper.exe", command, "600")
    for line in helper.stdout:
        if line.startswith(command + "="):
            break
    time.sleep(0.5)
    reader = w.ScreenReader()
    try:
        return helper, reader.pixels(*AREA, step=16)
    finally:
        reader.close()


def summary(values):
    ms = [v * 1000 for v in values]
    return (f"median {statistics.median(ms):7.0f} ms   min {min(ms):7.0f}   "
            f"max {max(ms):7.0f}")


def main():
    build_dir = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    space = w.Workspace(build_dir, "bench-startup")
    picture = space.path("picture.bmp")
    w.write_bmp(picture, 640, 480, lambda x, y: ((x * 255) // 640, (y * 255) // 480, 160))
    sources = [
        ("Chomify", {w.MARKER: 0, w.SOURCE: w.CHOMIFY}, False),
        ("Custom", {w.MARKER: 0, w.SOURCE: w.CUSTOM, w.PICTURE_PATH: w.windows_path(picture)},
         False),
        ("Desktop", {w.MARKER: 0, w.SOURCE: w.DESKTOP}, True),
    ]
    # One run first, so Wine's own start-up caches are warm for every source alike.
    run_once(space, sources[0][1], None)
    exits = []
    print(f"start to first frame, {runs} runs each (Xvfb 1024x768, Wine, llvmpipe):")
    for name, store, needs_backdrop in sources:
        helper, backdrop = show_backdrop(space) if needs_backdrop else (None, None)
        try:
            results = [run_once(space, store, backdrop) for _ in range(runs)]
        finally:
            w.stop(helper)
        exits += [ended for _, ended in results]
        print(f"  {name:8s} {summary([frame for frame, _ in results])}")
    # The difference between Desktop and Chomify is what capturing the desktop costs.
    print("the same on two monitors (Xephyr 1024x768 and 800x600 beside it):")
    with w.TwoMonitors(space):
        run_once(space, sources[0][1], None)
        for name, store, needs_backdrop in (sources[0], sources[2]):
            helper, backdrop = (show_backdrop(space, "monitors") if needs_backdrop
                                else (None, None))
            try:
                results = [run_once(space, store, backdrop) for _ in range(runs)]
            finally:
                w.stop(helper)
            print(f"  {name:8s} {summary([frame for frame, _ in results])}")
    print(f"key press to process exit, {len(exits)} runs:")
    print(f"  {'any':8s} {summary(exits)}")


if __name__ == "__main__":
    main()
