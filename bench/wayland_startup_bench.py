#!/usr/bin/env python3
"""Times the native mereflow program under a headless sway with two outputs (800x600 and
1280x720): from starting the process to the first frame on every output, from a key (wtype, from
the end of its process) to the end of the program, and the processor time it takes per second while drawing both outputs
under its frame cap. The first frame is seen through grim, one pixel of each output's middle at a
time, so the figures include grim's own few milliseconds. Run through
bench/wayland_startup_bench.sh. Usage: wayland_startup_bench.py PROGRAM [RUNS]"""

import glob
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from native_startup_bench import CPU_SECONDS, TICKS, wait_exit  # noqa: E402
from startup_bench import summary  # noqa: E402

# The middle of each output, in the layout's coordinates.
OUTPUTS = {"HEADLESS-1": (800, 600, 0), "HEADLESS-2": (1280, 720, 800)}
MIDDLES = [(x + w // 2, h // 2) for w, h, x in OUTPUTS.values()]
BACKGROUND = "#C02020"
# sway refuses to run as root: it runs as nobody, in a runtime folder of nobody's.
NOBODY = 65534


class HeadlessSway:
    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="mereflow-wayland-bench-")
        os.chown(self.folder, NOBODY, NOBODY)
        config = os.path.join(self.folder, "config")
        with open(config, "w") as out:
            for name, (w, h, x) in OUTPUTS.items():
                out.write(f"output {name} mode {w}x{h} position {x} 0\n")
                out.write(f"output {name} bg {BACKGROUND} solid_color\n")
        self.log = open(os.path.join(self.folder, "sway.log"), "w")
        environment = dict(os.environ, XDG_RUNTIME_DIR=self.folder, WAYLAND_DISPLAY="", DISPLAY="",
                           SWAYSOCK=os.path.join(self.folder, "sway-ipc.sock"),
                           WLR_BACKENDS="headless", WLR_RENDERER="pixman",
                           WLR_LIBINPUT_NO_DEVICES="1", WLR_HEADLESS_OUTPUTS=str(len(OUTPUTS)))
        self.process = subprocess.Popen(
            ["setpriv", f"--reuid={NOBODY}", f"--regid={NOBODY}", "--clear-groups", "sway", "-c",
             config], env=environment, stdout=subprocess.DEVNULL, stderr=self.log)
        socket = os.path.join(self.folder, "wayland-1")
        for _ in range(100):
            if os.path.exists(socket):
                break
            time.sleep(0.1)
        else:
            raise RuntimeError("no headless sway; its log is " + self.log.name)
        self.environment = dict(os.environ, XDG_RUNTIME_DIR=self.folder, WAYLAND_DISPLAY="wayland-1",
                                DISPLAY="")
        while not self.all_show(lambda rgb: rgb == (0xC0, 0x20, 0x20)):
            time.sleep(0.05)  # swaybg has not drawn yet

    def pixel(self, x, y):
        ppm = subprocess.run(["grim", "-t", "ppm", "-g", f"{x},{y} 1x1", "-"], env=self.environment,
                             check=True, capture_output=True).stdout
        return tuple(ppm[-3:])

    def all_show(self, test):
        return all(test(self.pixel(x, y)) for x, y in MIDDLES)

    def stop(self):
        self.process.send_signal(signal.SIGTERM)
        self.process.wait()
        shutil.rmtree(self.folder, ignore_errors=True)


def white(rgb):
    return sum(rgb) > 600


def run_once(sway, program):
    started = time.monotonic()
    process = subprocess.Popen([program, "--source", "white"], env=sway.environment)
    try:
        while not sway.all_show(white):
            if process.poll() is not None or time.monotonic() - started > 20:
                raise RuntimeError("no first frame on every output")
        frame = time.monotonic() - started
        time.sleep(0.5)
        # A keyboard that comes and sends its key at once is gone before a client can bind it.
        subprocess.run(["wtype", "-s", "300", "q"], env=sway.environment, check=True)
        return frame, wait_exit(process)
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def cpu_share(sway, program, cap):
    process = subprocess.Popen([program, "--max-fps", str(cap)], env=sway.environment)
    try:
        time.sleep(1)

        def cpu():
            with open(f"/proc/{process.pid}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
            return (int(fields[11]) + int(fields[12])) / TICKS

        before, wall = cpu(), time.monotonic()
        time.sleep(CPU_SECONDS)
        return (cpu() - before) / (time.monotonic() - wall)
    finally:
        process.send_signal(signal.SIGTERM)
        wait_exit(process)


def main():
    program = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    sway = HeadlessSway()
    try:
        run_once(sway, program)  # warm the caches
        results = [run_once(sway, program) for _ in range(runs)]
        print(f"start to first frame on both outputs, {runs} runs (headless sway, pixman, "
              "llvmpipe):")
        print(f"  {'White':8s} {summary([frame for frame, _ in results])}")
        print(f"key (wtype) to process exit, {runs} runs:")
        print(f"  {'any':8s} {summary([ended for _, ended in results])}")
        print(f"processor time per second of drawing both outputs, over {CPU_SECONDS} s "
              "(default settings):")
        for cap in (60, 30):
            share = cpu_share(sway, program, cap)
            print(f"  --max-fps {cap:<5d} {share * 1000:7.0f} ms per second")
    finally:
        sway.stop()


if __name__ == "__main__":
    main()
