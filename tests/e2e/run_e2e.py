#!/usr/bin/env python3
"""End-to-end tests: run the real mereflow.scr under Wine on the test display, drive it from
outside, and write a JUnit-style report. Usage: run_e2e.py BUILD_DIR REPORT.xml [NAME_PART]
[--shipped DIR] [--no-32-bit]: on a machine that runs no 32-bit programs, BUILD_DIR is the
64-bit build of the same code, DIR the 32-bit build whose program file the checks of the file
read, and the cases that must run a 32-bit program are skipped."""

import argparse

import filecmp
import os
import re
import shutil
import subprocess
import sys
import time
import traceback
import zipfile
from xml.sax.saxutils import quoteattr

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import wine_driver as w  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
UNINSTALL_KEY = r"HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Mereflow"
INSTALLED_SAVER = r"C:\windows\system32\mereflow.scr"
INSTALL_DIR = r"C:\Program Files\3D Mereflow"
EXIT_INVALID = 255  # ExitProcess(-1) as the shell sees it
# The store as the configuration dialog leaves it, with a picture that shows clearly.
CHOMIFY_STORE = {w.MARKER: 0, w.SOURCE: w.CHOMIFY}
ALL_SETTINGS = 38
PROMPT_EXIT = 1.5  # seconds


class Failure(Exception):
    pass


class Skipped(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


class Cases:
    def __init__(self, build_dir, shots_dir, shipped_dir, runs_32_bit):
        self.build_dir = build_dir
        self.shipped_dir = shipped_dir
        self.runs_32_bit = runs_32_bit
        self.shots_dir = shots_dir
        self.space = w.Workspace(build_dir, "e2e")
        # The program file as it ships, for the checks that only read it.
        self.shipped = self.space.path("shipped.scr")
        shutil.copy(os.path.join(shipped_dir, "mereflow.scr"), self.shipped)
        self.process = None
        w.present_as_windows98("mereflow98.scr")
        w.set_desktop_password(False)

    # --- shared steps

    def start_full_screen(self, program="mereflow.scr", store=CHOMIFY_STORE):
        w.store_settings(store)
        w.move_pointer(*w.CENTRE)
        self.process = self.space.start(program, "/s")
        window = w.wait_for_window("Screen Saver", process=self.process)
        check(window is not None, f"no full-screen window (exit {self.process.poll()})")
        return window

    def wait_for_frames(self, reader, area=(256, 192, 512, 384), timeout=15):
        """Waits until the area shows a drawn surface; returns its samples."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            samples = reader.pixels(*area)
            if w.brightness(samples) > 60:
                return samples
            time.sleep(0.1)
        raise Failure("the saver presented no frame")

    def expect_exit(self, status, within, what):
        """The saver ends with this status, and within about a second of what ended it."""
        code, waited = w.wait_exit(self.process, within)
        check(code is not None, f"still running {within} s after {what}")
        check(code == status, f"exit status {code} after {what}, expected {status}")
        check(waited < PROMPT_EXIT, f"took {waited:.2f} s to exit after {what}")

    def finish(self):
        w.stop(self.process)
        self.process = None

    # --- the cases

    def test_full_screen_covers_the_screen_and_presents_frames(self):
        window = self.start_full_screen()
        check(w.window_geometry(window) == (0, 0, w.SCREEN_WIDTH, w.SCREEN_HEIGHT),
              f"window geometry {w.window_geometry(window)}")
        reader = w.ScreenReader()
        try:
            first = self.wait_for_frames(reader)
            # The first drips are still small: give the ripples a few seconds to show.
            moved = False
            for _ in range(25):
                time.sleep(0.2)
                if w.changed_share(first, reader.pixels(256, 192, 512, 384)) > 0.1:
                    moved = True
                    break
        finally:
            reader.close()
        w.screenshot(os.path.join(self.shots_dir, "full_screen.png"))
        check(moved, "the surface does not move")
        check(w.alive(self.process), "the saver ended by itself")

    def white_is_centred(self, reader, monitor):
        """Whether the monitor's middle row shows the surface centred over about 0.73 of its
        width; returns (verdict, what was seen)."""
        left, top, right, bottom = monitor
        row = reader.pixels(left, (top + bottom) // 2, right - left, 1, step=1)
        lit = [left + i for i, p in enumerate(row) if sum(p) > 60]
        if not lit:
            return False, "nothing lit"
        off_centre = (lit[0] + lit[-1] + 1) - (left + right)
        share = (lit[-1] + 1 - lit[0]) / (right - left)
        # The grid's last column of cells is unlit, so the surface sits about 1% off centre.
        centred = abs(off_centre) <= 0.02 * (right - left)
        return centred and abs(share - 0.73) < 0.04, f"columns {lit[0]}-{lit[-1]}"

    def water_shows_colour(self, reader, monitor, channel):
        """Whether the monitor shows water (black beside it) of the colour of this channel;
        returns (verdict, what was seen)."""
        left, top, right, bottom = monitor
        middle = (top + bottom) // 2
        beside = w.brightness(reader.pixels(left + 8, middle - 32, 32, 64))
        centre = reader.pixels((left + right) // 2 - 32, middle - 32, 64, 64)
        mean = [sum(p[c] for p in centre) / max(len(centre), 1) for c in range(3)]
        own = all(mean[channel] > mean[c] + 60 for c in range(3) if c != channel)
        return beside < 30 and own, f"centre {mean}, beside {beside:.0f}"

    def watch_monitors(self, judge, timeout=15):
        """Waits until judge(reader, monitor index) holds for both monitors."""
        reader = w.ScreenReader()
        seen = []
        try:
            end = time.monotonic() + timeout
            while time.monotonic() < end:
                verdicts = [judge(reader, i) for i in range(len(w.TwoMonitors.SCREENS))]
                seen = [what for _, what in verdicts]
                if all(ok for ok, _ in verdicts):
                    return
                time.sleep(0.2)
        finally:
            reader.close()
        raise Failure("the monitors show " + "; ".join(seen))

    def test_two_monitors_each_show_the_whole_water_and_their_own_desktop(self):
        still = {w.MARKER: 0, w.MOVEMENT: 0, w.DRIPS: 0}
        screens = w.TwoMonitors.SCREENS
        helper = None
        with w.TwoMonitors(self.space):
            try:
                window = self.start_full_screen(store={**still, w.SOURCE: w.WHITE})
                check(w.window_geometry(window) == (0, 0, 1824, 768),
                      f"window geometry {w.window_geometry(window)}")
                self.watch_monitors(lambda r, i: self.white_is_centred(r, screens[i]))
                w.screenshot(os.path.join(self.shots_dir, "two_monitors_white.png"))
                w.xdotool("key", "space")
                self.expect_exit(0, 3, "a key")
                self.finish()

                # The helper paints the first monitor red and the second green.
                helper = self.space.start("e2e_helper.exe", "monitors", "120")
                lines = []
                for line in helper.stdout:
                    lines.append(line)
                    if line.startswith("monitors="):
                        break
                check(w.parse_values(lines).get("monitors") == "2",
                      "Wine lists the monitors as " + " ".join(lines))
                self.start_full_screen(store={**still, w.SOURCE: w.DESKTOP})
                self.watch_monitors(lambda r, i: self.water_shows_colour(r, screens[i], i))
                w.screenshot(os.path.join(self.shots_dir, "two_monitors_desktop.png"))
            finally:
                self.finish()
                w.stop(helper)

    def test_early_moves_and_small_drift_keep_it_then_a_fifth_pixel_closes(self):
        self.start_full_screen()
        time.sleep(0.5)
        # Far moves among the first twenty never reach the dismissal rules.
        for i in range(8):
            w.move_pointer(w.CENTRE[0] + (100 if i % 2 == 0 else 0), w.CENTRE[1])
        check(w.alive(self.process), "a move among the first twenty closed the saver")
        # Back and forth within 4 pixels of where the pointer was at the start.
        wiggle = [(1, 0), (0, 1), (-1, 0), (0, -1), (2, 2), (-2, 2), (-2, -2), (2, -2), (0, 0)]
        for i in range(27):
            dx, dy = wiggle[i % len(wiggle)]
            w.move_pointer(w.CENTRE[0] + dx, w.CENTRE[1] + dy)
        w.move_pointer(*w.CENTRE)
        check(w.alive(self.process), "moving within 4 pixels closed the saver")
        # A slow drift of one pixel per move: 4 pixels keep it, the fifth closes it.
        for dx in range(1, 5):
            w.move_pointer(w.CENTRE[0] + dx, w.CENTRE[1], pause=0.1)
        time.sleep(0.3)
        check(w.alive(self.process), "a drift of 4 pixels closed the saver")
        w.move_pointer(w.CENTRE[0] + 5, w.CENTRE[1])
        self.expect_exit(0, 3, "a drift of 5 pixels")

    def test_key_closes_saves_every_setting_and_exits_at_once(self):
        self.start_full_screen()
        time.sleep(1.0)
        w.xdotool("key", "space")
        self.expect_exit(0, 3, "a key")
        names = w.stored_setting_names()
        check(len(names) == ALL_SETTINGS, f"{len(names)} settings stored, expected {ALL_SETTINGS}")

    def test_click_closes(self):
        self.start_full_screen()
        time.sleep(1.0)
        w.xdotool("click", "1")
        self.expect_exit(0, 3, "a click")

    def test_second_start_ends_at_once_without_a_second_window(self):
        self.start_full_screen()
        time.sleep(0.5)
        started = time.monotonic()
        code, _ = self.space.run("mereflow.scr", "/s", timeout=15)
        check(code == 0, f"second start ended with {code}")
        check(time.monotonic() - started < 5, "the second start did not end at once")
        check(len(w.find_windows("Screen Saver")) == 1, "a second saver window appeared")
        check(w.alive(self.process), "the first saver ended")
        w.xdotool("key", "space")
        self.expect_exit(0, 3, "a key")

    def test_preview_runs_inside_the_given_window_and_ignores_input(self):
        w.store_settings(CHOMIFY_STORE)
        # NOTE: Wine keeps the OpenGL output of a child window whose parent belongs to another
        # process off the screen, so the frames are counted from Wine's trace of buffer swaps.
        env = dict(self.space.env, WINEDEBUG="trace+wgl")
        trace_path = self.space.path("preview-trace.log")
        with open(trace_path, "w") as trace:
            helper = self.space.start("e2e_helper.exe", "preview", "mereflow.scr", env=env,
                                      stderr=trace)
        self.process = helper
        lines = []
        for line in helper.stdout:
            lines.append(line.strip())
            if line.strip() == "ready":
                break
        values = w.parse_values(lines)
        check(values.get("child") == "found", f"no preview window: {lines}")
        check(values.get("size") == "320x240", f"preview size {values.get('size')}")
        time.sleep(1.5)
        # Real input over the preview as well as the messages the helper posts.
        w.move_pointer(260, 220)
        w.xdotool("click", "1")
        w.xdotool("key", "space")
        out, _ = helper.communicate("go\n", timeout=30)
        values = w.parse_values(out.split("\n"))
        check(values.get("alive") == "1", f"keys or clicks closed the preview: {out}")
        check(values.get("contextmenu") == "1" and values.get("forwarded") == "1",
              f"context menu not handed to the parent: {out}")
        check(values.get("exit") == "0", f"preview ended with {values.get('exit')}")
        with open(trace_path, errors="replace") as trace:
            swaps = sum(1 for line in trace if "wglSwapBuffers" in line)
        check(swaps >= 10, f"the preview presented {swaps} frames")

    def test_configure_mode_shows_the_dialog(self):
        for arguments in (["/c"], []):
            self.process = self.space.start("mereflow.scr", *arguments)
            window = w.wait_for_window("Mereflow Configuration", process=self.process)
            check(window is not None, f"no configuration dialog for {arguments}")
            x, y, width, height = w.window_geometry(window)
            w.move_pointer(x + width // 2, y + height // 2)
            w.xdotool("key", "Escape")
            self.expect_exit(2, 5, f"Cancel of {arguments}")  # the dialog's Cancel code

    def test_invalid_forms_end_with_minus_one_and_show_nothing(self):
        for arguments in (["/x"], ["/p"], ["/p", "0"], ["/p", "4294967295"], ["/a", "1234"]):
            start = time.monotonic()
            code, _ = self.space.run("mereflow.scr", *arguments, timeout=15)
            check(code == EXIT_INVALID, f"{arguments} ended with {code}")
            check(time.monotonic() - start < 10, f"{arguments} took too long")
        check(not w.find_windows("Screen Saver") and not w.find_windows("Preview"),
              "a window was left behind")

    def test_custom_picture_missing_shows_the_error_and_ends_without_a_mode_switch(self):
        # 800 x 600 is a mode Xvfb refuses: had the saver tried to switch after the failed
        # picture, the switch's own "SS Error" would follow.
        store = {w.MARKER: 0, w.SOURCE: w.CUSTOM, w.PICTURE_PATH: r"C:\missing\none.bmp",
                 "000_006": 800, "000_007": 600, "000_008": 32}
        w.store_settings(store)
        w.move_pointer(*w.CENTRE)
        self.process = self.space.start("mereflow.scr", "/s")
        check(w.wait_for_window("Error", process=self.process) is not None, "no Error message")
        w.screenshot(os.path.join(self.shots_dir, "custom_error.png"))
        text = self.space.helper("answer", "Error").get("text")
        expected = 'Error loading custom image "C:\\missing\\none.bmp".|HRESULT = 80004005'
        check(text == expected, f"message {text!r}")
        self.expect_exit(0, 5, "the Error message")
        check(not w.find_windows("SS Error"), "the display mode was switched after the failure")

    # --- the Windows 9x family, as Wine presents it to mereflow98.scr

    def test_win9x_password_refuses_once_then_lets_the_saver_close(self):
        w.set_desktop_password(True)
        self.space.forget("password.log")
        try:
            self.start_full_screen("mereflow98.scr")
            time.sleep(1.0)
            check(self.space.helper("running").get("running") == "1",
                  "the screen-saver-running state is off while the check is armed")
            w.xdotool("key", "space")
            time.sleep(0.8)
            check(w.alive(self.process), "the saver closed although the password was refused")
            check(self.space.read("password.log") == ["refused"], "no password request")
            w.xdotool("key", "space")
            self.expect_exit(0, 3, "the accepted password")
            check(self.space.read("password.log") == ["refused", "accepted"],
                  f"requests {self.space.read('password.log')}")
            check(self.space.helper("running").get("running") == "0",
                  "the screen-saver-running state stayed on")
        finally:
            w.set_desktop_password(False)

    def test_win9x_autoplay_is_cancelled_and_closes_the_saver(self):
        w.set_desktop_password(True)
        self.space.forget("password.log")
        try:
            self.start_full_screen("mereflow98.scr")
            time.sleep(1.0)
            values = self.space.helper("autoplay")
            check(values.get("answer") == "1", f"AutoPlay answer {values} with the check armed")
            time.sleep(0.5)
            check(w.alive(self.process), "closed although the password was refused")
            values = self.space.helper("autoplay")
            check(values.get("answer") == "1", f"second AutoPlay answer {values}")
            self.expect_exit(0, 3, "AutoPlay with the password accepted")
        finally:
            w.set_desktop_password(False)
        self.start_full_screen("mereflow98.scr")
        time.sleep(0.5)
        values = self.space.helper("autoplay")
        check(values.get("answer") == "0", f"AutoPlay answer {values} without a check")
        self.expect_exit(0, 3, "AutoPlay without a password")

    def test_win9x_without_the_desktop_password_a_key_closes_at_once(self):
        self.space.forget("password.log")
        self.start_full_screen("mereflow98.scr")
        time.sleep(0.5)
        check(self.space.helper("running").get("running") == "0",
              "the screen-saver-running state is on without a check")
        w.xdotool("key", "space")
        self.expect_exit(0, 3, "a key")
        check(self.space.read("password.log") == [], "a password was asked for")

    def test_win9x_password_change_calls_the_network_component(self):
        self.space.forget("mpr.log")
        env = dict(self.space.env)
        env["WINEDLLOVERRIDES"] = env.get("WINEDLLOVERRIDES", "") + ";mpr=n"
        code, _ = self.space.run("mereflow98.scr", "/a", "1234", env=env)
        check(code == 0, f"password change ended with {code}")
        log = self.space.read("mpr.log")
        check(len(log) == 3 and log[0] == "provider=SCRSAVE" and log[2] == "reserved=0,0",
              f"call {log}")
        # Wine's own component has no such function: nothing happens, and the result is 0.
        code, _ = self.space.run("mereflow98.scr", "/a", "1234")
        check(code == 0, f"password change without the component ended with {code}")

    # --- the program file

    def test_program_file_is_a_32_bit_gui_saver_with_its_resources(self):
        headers = subprocess.run(["i686-w64-mingw32-objdump", "-p", self.shipped],
                                 capture_output=True, text=True).stdout
        check("(PE32)" in headers, "not a 32-bit program")
        check("(Windows GUI)" in headers, "not a GUI program")
        values = self.space.helper("resources", "shipped.scr")
        check(values.get("string1") == "3D Mereflow", f"description {values}")
        check(values.get("icon100") == "1", "icon 100 missing")
        check(values.get("dialogs") == "1,1,1", f"dialogs {values.get('dialogs')}")
        check(values.get("bitmaps") == "1,1,1,1", f"bitmaps {values.get('bitmaps')}")

    def test_program_file_carries_its_manifest_and_version(self):
        values = self.space.helper("resources", "shipped.scr")
        check(values.get("manifest") == "1", "no application manifest")
        check(values.get("dpiAware") == "1", "the manifest does not declare DPI awareness")
        check(values.get("commonControls6") == "1", "the manifest does not ask for common controls 6")
        check(values.get("executionLevel") == "0", "the manifest names an execution level")
        check(values.get("windows8") == "0", "the manifest declares Windows 8")
        check(values.get("FileDescription") == "3D Mereflow", f"description {values}")
        check(values.get("ProductName") == "3D Mereflow", f"product {values}")
        check(values.get("ProductVersion") == project_version(), f"version {values}")

    def test_release_zip_holds_the_saver_its_text_and_the_licence(self):
        release = os.path.join(self.shipped_dir, "release")
        with zipfile.ZipFile(os.path.join(release, f"mereflow-{project_version()}-win32.zip")) \
                as archive:
            check(sorted(archive.namelist()) == ["LICENSE.txt", "README.txt", "mereflow.scr"],
                  f"the zip holds {archive.namelist()}")
            licence = archive.read("LICENSE.txt")
            saver = archive.read("mereflow.scr")
        check(licence.startswith(b"MIT License\r\n") and b"\n" not in licence.replace(b"\r\n", b""),
              "LICENSE.txt is not the MIT licence with CRLF line ends")
        with open(self.shipped, "rb") as shipped:
            check(saver == shipped.read(), "the zip's mereflow.scr is not the shipped one")

    def test_release_installs_runs_and_uninstalls(self):
        if not self.runs_32_bit:
            raise Skipped("the installer is a 32-bit program, which this machine cannot run")
        version = project_version()
        release = os.path.join(self.shipped_dir, "release")
        setup = f"mereflow-{version}-setup.exe"
        shutil.copy(os.path.join(release, setup), self.space.path(setup))
        code, _ = self.space.run(setup, "/S", "/CURRENT", timeout=60)
        check(code == 0, f"the silent install ended with {code}")
        installed = unix_path(INSTALLED_SAVER)
        check(os.path.exists(installed), "the saver is not in the system folder")
        check(filecmp.cmp(installed, self.space.path("mereflow.scr"), shallow=False),
              "the installed saver differs from the built one")
        desktop = w.wine_reg("query", w.DESKTOP_KEY, "/v", "SCRNSAVE.EXE").stdout
        check(INSTALLED_SAVER.lower() in desktop.lower(), "not made the current saver")
        check(w.wine_reg("query", UNINSTALL_KEY).returncode == 0, "no uninstaller registered")

        self.start_full_screen(program=INSTALLED_SAVER)
        reader = w.ScreenReader()
        try:
            self.wait_for_frames(reader)
        finally:
            reader.close()
        w.xdotool("key", "space")
        self.expect_exit(0, 3, "a key")
        self.finish()

        code, _ = self.space.run(INSTALL_DIR + r"\Uninstall.exe", "/S", "/SETTINGS",
                                 "_?=" + INSTALL_DIR, timeout=60)
        check(code == 0, f"the silent uninstall ended with {code}")
        check(not os.path.exists(installed), "the uninstaller left the saver behind")
        check(not w.stored_setting_names(), "the uninstaller left the settings behind")
        check(w.wine_reg("query", UNINSTALL_KEY).returncode != 0, "the uninstall entry remains")
        desktop = w.wine_reg("query", w.DESKTOP_KEY, "/v", "SCRNSAVE.EXE").stdout
        check(INSTALLED_SAVER.lower() not in desktop.lower(), "still the current saver")

    def test_program_imports_only_what_windows_xp_has(self):
        allowed = {}
        with open(os.path.join(HERE, "windows_xp_imports.txt")) as listing:
            dll = None
            for line in listing:
                line = line.split("#")[0].strip()
                if line.endswith(":"):
                    dll = line[:-1].lower()
                    allowed[dll] = set()
                elif line:
                    allowed[dll].update(line.split())
        imports = read_imports(self.shipped)
        missing = [f"{dll}!{name}" for dll, names in imports.items()
                   for name in names if name not in allowed.get(dll, set())]
        check(imports, "no imports read")
        check(not missing, "imports Windows XP lacks: " + ", ".join(sorted(missing)))


def project_version():
    with open(os.path.join(ROOT, "VERSION")) as version:
        return version.read().strip()


def unix_path(windows_path):
    """Where a path on drive C of the test prefix lies on this machine."""
    relative = windows_path[3:].replace("\\", "/")
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", relative)


def read_imports(path):
    """{dll in lower case: set of imported names} from the program's import table."""
    dump = subprocess.run(["i686-w64-mingw32-objdump", "-p", path], capture_output=True,
                          text=True).stdout
    imports, dll = {}, None
    for line in dump.splitlines():
        named = re.match(r"\s*DLL Name: (\S+)", line)
        if named:
            dll = named.group(1).lower()
            imports[dll] = set()
            continue
        entry = re.match(r"\s*[0-9a-f]+\s+\d+\s+(\S+)$", line)
        if dll and entry:
            imports[dll].add(entry.group(1))
        if line.startswith("The Export") or line.startswith("PE File Base Relocations"):
            dll = None
    return imports


def write_report(path, results, elapsed):
    failures = sum(1 for _, _, failure, _ in results if failure)
    skips = sum(1 for _, _, _, skip in results if skip)
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             f'<testsuites tests="{len(results)}" failures="{failures}" disabled="0" '
             f'skipped="{skips}" errors="0" time="{elapsed:.3f}" name="e2e">',
             f'  <testsuite name="SaverEndToEnd" tests="{len(results)}" failures="{failures}" '
             f'disabled="0" skipped="{skips}" errors="0" time="{elapsed:.3f}">']
    for name, seconds, failure, skip in results:
        lines.append(f'    <testcase name="{name}" classname="SaverEndToEnd" '
                     f'time="{seconds:.3f}">')
        if failure:
            lines.append(f'      <failure message={quoteattr(failure)}/>')
        if skip:
            lines.append(f'      <skipped message={quoteattr(skip)}/>')
        lines.append('    </testcase>')
    lines += ['  </testsuite>', '</testsuites>']
    with open(path, "w") as report:
        report.write("\n".join(lines) + "\n")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build_dir")
    parser.add_argument("report")
    parser.add_argument("only", nargs="?", default="")
    parser.add_argument("--shipped")
    parser.add_argument("--no-32-bit", dest="runs_32_bit", action="store_false")
    options = parser.parse_args()
    build_dir, report = os.path.abspath(options.build_dir), os.path.abspath(options.report)
    only = options.only
    shots_dir = os.path.join(os.path.dirname(report), "e2e-screens")
    os.makedirs(shots_dir, exist_ok=True)
    cases = Cases(build_dir, shots_dir, os.path.abspath(options.shipped or build_dir),
                  options.runs_32_bit)
    names = [n for n in dir(cases) if n.startswith("test_") and only in n]
    results, started = [], time.monotonic()
    for name in names:
        start = time.monotonic()
        failure = skip = None
        try:
            getattr(cases, name)()
        except Failure as problem:
            failure = str(problem)
        except Skipped as reason:
            skip = str(reason)
        except Exception:  # a broken case counts as a failure, with its trace
            failure = traceback.format_exc()
        finally:
            cases.finish()
        seconds = time.monotonic() - start
        verdict = "FAILED" if failure else "SKIPPED" if skip else "OK"
        print(f"[{verdict}] {name} ({seconds:.1f} s)"
              + (f": {failure or skip}" if failure or skip else ""), flush=True)
        results.append((name, seconds, failure, skip))
    write_report(report, results, time.monotonic() - started)
    return 1 if any(f for _, _, f, _ in results) else 0


if __name__ == "__main__":
    sys.exit(main())
