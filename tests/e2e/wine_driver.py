"""Driving the real mereflow.scr under Wine from outside: processes, windows, input, the screen
and the registry of the test prefix. Needs DISPLAY and WINEPREFIX set (scripts/display.sh)."""

import ctypes
import os
import shutil
import subprocess
import tempfile
import time

SETTINGS_KEY = r"HKEY_LOCAL_MACHINE\Software\Quorvane\ss\dr\10"
DESKTOP_KEY = r"HKEY_CURRENT_USER\Control Panel\Desktop"
APP_DEFAULTS_KEY = r"HKEY_CURRENT_USER\Software\Wine\AppDefaults"
SCREEN_WIDTH, SCREEN_HEIGHT = 1024, 768
CENTRE = (SCREEN_WIDTH // 2, SCREEN_HEIGHT // 2)

# Settings values by field, as the registry store numbers them.
MARKER, SOURCE, PICTURE_PATH = "000_000", "000_046", "000_047"
MOVEMENT, DRIPS = "000_005", "000_018"
DESKTOP, CHOMIFY, SKY, WHITE, CUSTOM = 0, 1, 2, 3, 4


class Workspace:
    """A folder with the saver (and a copy that Wine presents as Windows 98), the stand-in
    password components and the helper, so LoadLibraryA finds them beside the program."""

    def __init__(self, build_dir, name):
        self.dir = os.path.join(build_dir, name)
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(self.dir)
        scr = os.path.join(build_dir, "mereflow.scr")
        tests = os.path.join(build_dir, "tests")
        shutil.copy(scr, os.path.join(self.dir, "mereflow.scr"))
        shutil.copy(scr, os.path.join(self.dir, "mereflow98.scr"))
        for name in ("PASSWORD.CPL", "e2e_helper.exe", os.path.join("fake_mpr", "MPR.DLL")):
            shutil.copy(os.path.join(tests, name), self.dir)
        self.env = dict(os.environ)
        self.env["MEREFLOW_PASSWORD_LOG"] = self.path("password.log")
        self.env["MEREFLOW_MPR_LOG"] = self.path("mpr.log")

    def path(self, name):
        return os.path.join(self.dir, name)

    def read(self, name):
        try:
            with open(self.path(name)) as log:
                return log.read().split()
        except FileNotFoundError:
            return []

    def forget(self, name):
        if os.path.exists(self.path(name)):
            os.remove(self.path(name))

    def start(self, program, *arguments, env=None, stderr=subprocess.DEVNULL):
        """Starts a Windows program of the workspace; returns the Popen of its wine."""
        return subprocess.Popen(["wine", program, *arguments], cwd=self.dir,
                                env=env or self.env, stdin=subprocess.PIPE,
                                stdout=subprocess.PIPE, stderr=stderr, text=True)

    def run(self, program, *arguments, timeout=20, env=None):
        """Runs a program to its end; returns (exit status, stdout lines)."""
        process = self.start(program, *arguments, env=env)
        out, _ = process.communicate(timeout=timeout)
        return process.returncode, out.split("\n")

    def helper(self, *arguments, timeout=20):
        """Runs the helper; returns its key=value output as a dict."""
        _, lines = self.run("e2e_helper.exe", *arguments, timeout=timeout)
        return parse_values(lines)


def parse_values(lines):
    """key=value pairs, several to a line; a word without "=" continues the value before."""
    values = {}
    for line in lines:
        key = None
        for word in line.strip().split(" "):
            name, sep, value = word.partition("=")
            if sep and name.isidentifier():
                key = name
                values[key] = value
            elif key is not None:
                values[key] += " " + word
    return values


def wine_reg(*arguments):
    return subprocess.run(["wine", "reg", *arguments], capture_output=True, text=True,
                          timeout=30)


def import_registry(text):
    """Imports a REGEDIT4 text into the prefix."""
    with tempfile.NamedTemporaryFile("w", suffix=".reg", delete=False) as reg:
        reg.write("REGEDIT4\n\n" + text)
    try:
        subprocess.run(["wine", "regedit", "/S", reg.name], capture_output=True, timeout=30)
    finally:
        os.remove(reg.name)


def reg_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def store_settings(values):
    """Replaces the settings key with exactly these values (ints as DWORDs, str as strings)."""
    lines = [f"[-{SETTINGS_KEY}]", "", f"[{SETTINGS_KEY}]"]
    for name, value in values.items():
        data = reg_string(value) if isinstance(value, str) else f"dword:{value & 0xFFFFFFFF:08x}"
        lines.append(f'"{name}"={data}')
    import_registry("\n".join(lines) + "\n")


def stored_setting_names():
    result = wine_reg("query", SETTINGS_KEY)
    return sorted(line.split()[0] for line in result.stdout.splitlines()
                  if line.strip().startswith("000_"))


def set_desktop_password(enabled):
    import_registry(f"[{DESKTOP_KEY}]\n\"ScreenSaveUsePassword\"=dword:{int(enabled):08x}\n")


def present_as_windows98(program):
    import_registry(f"[{APP_DEFAULTS_KEY}\\{program}]\n\"Version\"=\"win98\"\n")


def xdotool(*arguments):
    return subprocess.run(["xdotool", *arguments], capture_output=True, text=True, timeout=10)


def find_windows(title):
    result = xdotool("search", "--onlyvisible", "--name", f"^{title}$")
    return result.stdout.split()


def wait_for_window(title, timeout=15, process=None):
    """Waits until a visible window with this title exists; returns its X id or None."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        found = find_windows(title)
        if found:
            return found[0]
        if process is not None and process.poll() is not None:
            return None
        time.sleep(0.1)
    return None


def window_geometry(window):
    """(x, y, width, height) of an X window."""
    values = {}
    for line in xdotool("getwindowgeometry", "--shell", window).stdout.splitlines():
        key, _, value = line.partition("=")
        values[key] = int(value) if value.lstrip("-").isdigit() else value
    return values.get("X"), values.get("Y"), values.get("WIDTH"), values.get("HEIGHT")


def move_pointer(x, y, pause=0.06):
    xdotool("mousemove", str(x), str(y))
    time.sleep(pause)


def alive(process):
    return process.poll() is None


def wait_exit(process, timeout):
    """Waits for the process; returns (exit status or None, seconds waited)."""
    start = time.monotonic()
    try:
        status = process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        status = None
    return status, time.monotonic() - start


def stop(process):
    if process is not None and alive(process):
        process.kill()
        process.wait()


def screenshot(path):
    subprocess.run(["import", "-window", "root", path], capture_output=True, timeout=30)


class ScreenReader:
    """Reads screen pixels straight from the X server through libX11, fast enough to watch for
    the first frame."""

    class XImage(ctypes.Structure):
        _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int),
                    ("xoffset", ctypes.c_int), ("format", ctypes.c_int),
                    ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                    ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                    ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                    ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]

    def __init__(self):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x11.XGetImage.restype = ctypes.POINTER(self.XImage)
        self.x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                       ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                                       ctypes.c_ulong, ctypes.c_int]
        self.x11.XFree.argtypes = [ctypes.c_void_p]
        self.x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.display = self.x11.XOpenDisplay(None)
        if not self.display:
            raise RuntimeError("no X display")
        self.root = self.x11.XDefaultRootWindow(self.display)

    def pixels(self, x, y, width, height, step=8):
        """Samples every step-th pixel of the area as (r, g, b) tuples."""
        image = self.x11.XGetImage(self.display, self.root, x, y, width, height,
                                   0xFFFFFFFF, 2)  # ZPixmap
        if not image:
            return []
        info = image.contents
        data = ctypes.string_at(info.data, info.bytes_per_line * info.height)
        samples = []
        for row in range(0, info.height, step):
            for column in range(0, info.width, step):
                at = row * info.bytes_per_line + column * 4
                samples.append((data[at + 2], data[at + 1], data[at]))
        self.x11.XFree(info.data)
        self.x11.XFree(ctypes.cast(image, ctypes.c_void_p))
        return samples

    def close(self):
        self.x11.XCloseDisplay(self.display)


def brightness(samples):
    """Mean of r + g + b over the samples, 0 to 765."""
    return sum(sum(p) for p in samples) / max(len(samples), 1)


def changed_share(before, after):
    """Share of samples that differ between two readings of the same area."""
    if not before or len(before) != len(after):
        return 0.0
    return sum(1 for a, b in zip(before, after) if a != b) / len(before)


def write_bmp(path, width, height, colour_at):
    """Writes a 24-bit bottom-up BMP whose pixel (x, y from the top) is colour_at(x, y)."""
    row_size = (width * 3 + 3) & ~3
    pixels = bytearray()
    for y in reversed(range(height)):
        row = bytearray()
        for x in range(width):
            r, g, b = colour_at(x, y)
            row += bytes((b, g, r))
        pixels += row + bytes(row_size - len(row))
    header = (b"BM" + (54 + len(pixels)).to_bytes(4, "little") + bytes(4)
              + (54).to_bytes(4, "little") + (40).to_bytes(4, "little")
              + width.to_bytes(4, "little") + height.to_bytes(4, "little")
              + (1).to_bytes(2, "little") + (24).to_bytes(2, "little") + bytes(4)
              + len(pixels).to_bytes(4, "little") + bytes(16))
    with open(path, "wb") as bmp:
        bmp.write(header + pixels)


def free_display():
    """The first X display number from 90 on that nobody uses."""
    n = 90
    while os.path.exists(f"/tmp/.X11-unix/X{n}") or os.path.exists(f"/tmp/.X{n}-lock"):
        n += 1
    return n


def restart_wineserver():
    subprocess.run(["wineserver", "-k"], capture_output=True, timeout=30)
    subprocess.run(["wineserver", "-w"], capture_output=True, timeout=30)


class TwoMonitors:
    """Two monitors for Wine: an Xephyr display on the test display with a 1024 x 768 screen
    and an 800 x 600 one to its right, joined by Xinerama. Wine reads Xinerama only with RandR
    off, and reads the monitors when its server starts, so the prefix's server is restarted on
    the way in and on the way out. Everything that runs inside uses the Xephyr display."""

    SCREENS = ((0, 0, 1024, 768), (1024, 0, 1824, 600))

    def __init__(self, space):
        self.space = space
        self.process = None
        self.previous = os.environ.get("DISPLAY")

    def __enter__(self):
        display = f":{free_display()}"
        self.process = subprocess.Popen(
            ["Xephyr", display, "-screen", "1024x768", "-screen", "800x600", "+xinerama",
             "-extension", "RANDR", "+extension", "GLX", "-nolisten", "tcp"],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        socket = "/tmp/.X11-unix/X" + display[1:]
        end = time.monotonic() + 10
        while not os.path.exists(socket) and time.monotonic() < end and alive(self.process):
            time.sleep(0.1)
        if not os.path.exists(socket):
            stop(self.process)
            raise RuntimeError("Xephyr did not start")
        restart_wineserver()
        self.use_display(display)
        return self

    def __exit__(self, *exception):
        restart_wineserver()
        self.use_display(self.previous)
        stop(self.process)

    def use_display(self, display):
        for env in (os.environ, self.space.env):
            if display is None:
                env.pop("DISPLAY", None)
            else:
                env["DISPLAY"] = display


def windows_path(path):
    """The path as a Wine program sees it, through drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")
