#!/usr/bin/env python3
"""Times the native mereflow program on Xvfb: from starting the process to the first frame on
the screen for the Chomify, White and Custom pictures, from SIGTERM to the end of the process,
and the processor time it takes per second of running at its frame cap. Run through
bench/native_startup_bench.sh, which provides the display. Usage: native_startup_bench.py
PROGRAM [RUNS]"""

import os
import signal
import statistics
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from startup_bench import first_frame_seconds, summary  # noqa: E402

CPU_SECONDS = 5
TICKS = os.sysconf("SC_CLK_TCK")


def wait_exit(process, timeout=10):
    """Seconds until the process has ended, polled every millisecond."""
    started = time.monotonic()
    while process.poll() is None:
        if time.monotonic() - started > timeout:
            raise RuntimeError("no exit within %d s" % timeout)
        time.sleep(0.001)
    if process.returncode != 0:
        raise RuntimeError(f"exit status {process.returncode}")
    return time.monotonic() - started


def run_once(program, arguments):
    started = time.monotonic()
    process = subprocess.Popen([program, "--fullscreen"] + arguments)
    try:
        frame = first_frame_seconds(None, started, None)
        time.sleep(0.5)
        process.send_signal(signal.SIGTERM)
        return frame, wait_exit(process)
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def cpu_share(program, arguments):
    """Processor seconds per second of running, measured over CPU_SECONDS after a settling
    second."""
    process = subprocess.Popen([program, "--fullscreen"] + arguments)
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
    picture = os.path.join(tempfile.mkdtemp(prefix="mereflow-bench-"), "picture.ppm")
    with open(picture, "wb") as out:
        out.write(b"P6\n640 480\n255\n")
        out.write(bytes(v for y in range(480) for x in range(640)
                        for v in ((x * 255) // 640, (y * 255) // 480, 160)))
    sources = [("Chomify", ["--source", "chomify"]), ("White", ["--source", "white"]),
               ("Custom", ["--source", "custom", "--picture", picture])]
    run_once(program, sources[0][1])  # warm the caches for every source alike
    exits = []
    print(f"start to first frame, {runs} runs each (Xvfb 1024x768, native, llvmpipe):")
    for name, arguments in sources:
        results = [run_once(program, arguments) for _ in range(runs)]
        exits += [ended for _, ended in results]
        print(f"  {name:8s} {summary([frame for frame, _ in results])}")
    print(f"SIGTERM to process exit, {len(exits)} runs:")
    print(f"  {'any':8s} {summary(exits)}")
    print(f"processor time per second of running, over {CPU_SECONDS} s (default settings):")
    for cap in (60, 30, 1000):
        share = cpu_share(program, ["--max-fps", str(cap)])
        print(f"  --max-fps {cap:<5d} {share * 1000:7.0f} ms per second")


if __name__ == "__main__":
    main()
