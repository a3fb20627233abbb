#!/usr/bin/env python3
"""Times the native mereflow program's Wayland host on a compositor with two outputs: from
starting the process to the first frame committed on each output (read from libwayland's
WAYLAND_DEBUG log, whose stamps are the wall clock's microseconds modulo 2^32), from a key typed
by wtype to the end of the process, and the processor time it and the compositor take per second
drawing both outputs at the frame cap. Run through bench/wayland_startup_bench.sh, which starts
the compositor. Usage: wayland_startup_bench.py PROGRAM [RUNS] [COMPOSITOR_PID]"""

import os
import re
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from native_startup_bench import summary, wait_exit  # noqa: E402

CPU_SECONDS = 5
TICKS = os.sysconf("SC_CLK_TCK")
OUTPUTS = 2
WRAP_MS = 2**32 / 1000
COMMIT = re.compile(rb"^\[\s*(\d+\.\d+)\]\s+-> wl_surface@(\d+)\.commit\(\)")
ATTACH = re.compile(rb"-> wl_surface@(\d+)\.attach\(wl_buffer")


def debug_stamp_ms():
    return (time.time_ns() // 1000 % 2**32) / 1000


def first_frames(log, started_ms):
    """Seconds from the start to the first commit of a buffer on each surface, the latest of
    them: every output covered with water."""
    attached = set()
    firsts = {}
    for line in log.splitlines():
        attach = ATTACH.search(line)
        if attach:
            attached.add(attach.group(1))
            continue
        commit = COMMIT.match(line)
        if commit and commit.group(2) in attached and commit.group(2) not in firsts:
            firsts[commit.group(2)] = (float(commit.group(1)) - started_ms) % WRAP_MS / 1000
    if len(firsts) < OUTPUTS:
        raise RuntimeError(f"frames on {len(firsts)} outputs only")
    return max(firsts.values())


def run_once(program):
    environment = dict(os.environ, WAYLAND_DEBUG="1")
    # A file, not a pipe: the log of 1.5 s of frames would fill a pipe and stop the program.
    log = tempfile.TemporaryFile()
    started_ms = debug_stamp_ms()
    process = subprocess.Popen([program], env=environment, stderr=log)
    try:
        time.sleep(1.5)
        # wtype's keyboard comes and goes within milliseconds: its pause lets the program take
        # the new keyboard before the key.
        subprocess.run(["wtype", "-s", "200", "a"], check=True)
        ended = wait_exit(process)
        log.seek(0)
        return first_frames(log.read(), started_ms), ended
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def cpu_seconds(pid):
    with open(f"/proc/{pid}/stat") as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def cpu_share(program, arguments, compositor):
    """Processor seconds per second of running, the program's and the compositor's, over
    CPU_SECONDS after a settling second."""
    process = subprocess.Popen([program] + arguments)
    try:
        time.sleep(1)
        pids = [process.pid] + ([compositor] if compositor else [])
        before, wall = [cpu_seconds(p) for p in pids], time.monotonic()
        time.sleep(CPU_SECONDS)
        after, wall = [cpu_seconds(p) for p in pids], time.monotonic() - wall
        return [(a - b) / wall for a, b in zip(after, before)] + [0.0]
    finally:
        process.terminate()
        wait_exit(process)


def main():
    program = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    compositor = int(sys.argv[3]) if len(sys.argv) > 3 else 0
    run_once(program)  # warm the caches
    results = [run_once(program) for _ in range(runs)]
    print(f"{runs} runs (headless sway, pixman, outputs 800x600 + 1280x720, llvmpipe):")
    print(f"  start to first frame on every output  {summary([f for f, _ in results])}")
    print(f"  key (wtype done) to process exit      {summary([e for _, e in results])}")
    print(f"processor time per second of running, over {CPU_SECONDS} s (Chomify):")
    for cap in (60, 30):
        own, composing = cpu_share(program, ["--max-fps", str(cap)], compositor)[:2]
        print(f"  --max-fps {cap:<4d} mereflow {own * 1000:5.0f} ms/s   sway {composing * 1000:5.0f} ms/s")


if __name__ == "__main__":
    main()
