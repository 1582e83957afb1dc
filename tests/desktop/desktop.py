# SPDX-License-Identifier: GPL-3.0-or-later
"""The desktop test tier's driver: the real game under a virtual X server with a real window manager.

Every test gets its own display (Xvfb on a free number, openbox on it), its own copy of the program
directory and its own HOME and XDG_* directories, and drives the game only with real X input events
(XTest, through xdotool). It waits for conditions (a window, a title, a file, the end of the program)
instead of sleeping, so it holds on a busy machine.

    with Desktop() as desk:
        game = desk.game(settings={"tongue": 0, "level": 3})
        main = game.start()                       # waits for the 500 x 366 main window
        desk.click(main, 380, 17)                 # client coordinates of that window
        question = game.wait_message()            # a 300 x 150 question or notice window
        desk.click(question, *YES)
        desk.close_request(main)                  # what the window manager's close button sends
        game.wait_exit()
        game.settings()                           # kestrum.ini as a dict of ints
        other = desk.game(same_as=game)           # a second copy of the game for the same player
        game.kill()                               # a crash: nothing written, nothing removed

Only the Python standard library and the X tools Xvfb, openbox, xdotool, xprop, xwininfo and xwd are
used. Run a test file alone with `python3 -m unittest -v tests/desktop/test_x.py` after setting
TOLVAR_GAME_DIR to a built program directory (build/game); TOLVAR_DESKTOP_KEEP=1 keeps the temporary
directories (logs, screenshots) of a run.
"""

import os
import re
import select
import shutil
import signal
import struct
import subprocess
import tempfile
import time
import zlib

SCREEN = (1280, 1024)
TIMEOUT = 30.0  # for anything the game must do; generous for a busy two-core machine

# Places inside the game's windows, in client coordinates.
MAIN_SIZE = (500, 366)
MESSAGE_SIZE = (300, 150)
YES = (150, 122)  # the question window's left button; also the notice window's OK place
NO = (226, 122)


class DesktopError(AssertionError):
    pass


def wait_for(condition, timeout=TIMEOUT, what="a condition", interval=0.05):
    """Polls `condition` until it returns something true and returns that, else fails naming `what`."""
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            raise DesktopError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


def game_dir():
    path = os.environ.get("TOLVAR_GAME_DIR")
    if not path:
        here = os.path.dirname(os.path.abspath(__file__))
        path = os.path.join(here, "..", "..", "build", "game")
    if not os.path.isfile(os.path.join(path, "tolvarpegs")):
        raise DesktopError(f"no built game in {path}; set TOLVAR_GAME_DIR")
    return os.path.abspath(path)


class Desktop:
    """A virtual X server with openbox (or none, `wm=False`) on a display of its own."""

    def __init__(self, wm=True, screen=SCREEN):
        self.root = tempfile.mkdtemp(prefix="tolvar-desktop-")
        self.screen = screen
        self.wm = wm
        self.games = []
        self._procs = []
        self._logs = []
        self.display = None

    # --- the server and the window manager

    def __enter__(self):
        try:
            self._start_server()
            self._prime_keyboard()
            if self.wm:
                self._start_openbox()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def __exit__(self, kind, value, trace):
        for game in self.games:
            game.stop()
        for proc in reversed(self._procs):
            if proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        for log in self._logs:
            log.close()
        if os.environ.get("TOLVAR_DESKTOP_KEEP"):
            print(f"desktop test files kept in {self.root}")
        else:
            shutil.rmtree(self.root, ignore_errors=True)
        return False

    def _start_server(self):
        read_end, write_end = os.pipe()
        width, height = self.screen
        proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=self._log("xvfb.log"))
        os.close(write_end)
        self._procs.append(proc)
        number = b""
        end = time.monotonic() + TIMEOUT
        while not number.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], max(0.0, end - time.monotonic()))
            if not ready:
                raise DesktopError("Xvfb did not report its display")
            chunk = os.read(read_end, 16)
            if not chunk:
                raise DesktopError("Xvfb ended before reporting its display (see xvfb.log)")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()

    def _prime_keyboard(self):
        # The first key sent through XTEST makes the server switch to the XTEST keyboard and tell every
        # client that the keyboard map changed. openbox then lets go of its key bindings and takes them
        # again, and a key arriving in between goes to the window with the focus instead: Alt+F4 as the
        # first key of a test closed nothing now and then. One key before openbox starts has the switch
        # happen while nobody listens.
        self.x("xdotool", "key", "shift")

    def _start_openbox(self):
        home = self.path("wm-home")
        os.makedirs(home, exist_ok=True)
        env = self.env(HOME=home, XDG_CONFIG_HOME=os.path.join(home, ".config"))
        proc = subprocess.Popen(["openbox", "--sm-disable"], env=env, stdout=subprocess.DEVNULL,
                                stderr=self._log("openbox.log"))
        self._procs.append(proc)
        # A window manager announces itself on the root window once it manages the screen.
        wait_for(lambda: "window id" in self.x("xprop", "-root", "_NET_SUPPORTING_WM_CHECK"),
                 what="openbox to take the screen")

    def _log(self, name):
        log = open(self.path(name), "wb")
        self._logs.append(log)
        return log

    def path(self, *parts):
        return os.path.join(self.root, *parts)

    def env(self, **extra):
        env = dict(os.environ)
        env["DISPLAY"] = self.display
        env.pop("XAUTHORITY", None)
        env.update(extra)
        return env

    def x(self, *command, check=True):
        """Runs an X client on this display and returns its standard output."""
        result = subprocess.run(list(command), env=self.env(), capture_output=True, text=True)
        if check and result.returncode != 0:
            raise DesktopError(f"{' '.join(command)} failed: {result.stderr.strip()}")
        return result.stdout

    def game(self, settings=None, program_dir=None, same_as=None):
        game = Game(self, settings, program_dir, same_as)
        self.games.append(game)
        return game

    # --- windows

    def visible_windows(self, pid):
        out = self.x("xdotool", "search", "--onlyvisible", "--pid", str(pid), check=False)
        return [int(w) for w in out.split()]

    def title(self, window):
        """The title as the window manager reads it: _NET_WM_NAME, else WM_NAME; None when neither is set."""
        for atom in ("_NET_WM_NAME", "WM_NAME"):
            out = self.x("xprop", "-notype", "-id", str(window), atom, check=False)
            match = re.match(r'^\S+ = (?:"(.*)")?\s*$', out, re.S)  # an empty title has no quotes
            if match:
                return re.sub(r'\\(.)', r'\1', match.group(1) or "")
        return None

    def property(self, window, atom):
        out = self.x("xprop", "-notype", "-id", str(window), atom, check=False)
        if "not found" in out or "=" not in out:
            return None
        return out.split("=", 1)[1].strip()

    def client_rect(self, window):
        """(x, y, width, height) of the window's client area on the screen."""
        out = self.x("xwininfo", "-id", str(window))
        value = lambda label: int(re.search(label + r":\s+(-?\d+)", out).group(1))
        return (value("Absolute upper-left X"), value("Absolute upper-left Y"), value("Width"), value("Height"))

    def frame_extents(self, window):
        """(left, right, top, bottom) of the frame the window manager drew, (0, 0, 0, 0) without one."""
        value = self.property(window, "_NET_FRAME_EXTENTS")
        if not value:
            return (0, 0, 0, 0)
        return tuple(int(v) for v in value.split(","))

    def frame_rect(self, window):
        x, y, width, height = self.client_rect(window)
        left, right, top, bottom = self.frame_extents(window)
        return (x - left, y - top, width + left + right, height + top + bottom)

    def wait_framed(self, window):
        """Waits until the window manager has framed the window (no-op without a window manager)."""
        if self.wm:
            wait_for(lambda: self.property(window, "_NET_FRAME_EXTENTS"), what="the window's frame")

    def wait_title(self, window, title, timeout=TIMEOUT):
        pattern = re.compile(title)
        return wait_for(lambda: pattern.fullmatch(self.title(window) or ""), timeout,
                        what=f"the title {title!r} (it is {self.title(window)!r})")

    def wait_gone(self, window, pid, timeout=TIMEOUT):
        wait_for(lambda: window not in self.visible_windows(pid), timeout, what=f"window {window} to go")

    # --- input: real X events through XTest

    def pointer(self):
        """Where the pointer is on the screen."""
        place = dict(line.split("=", 1) for line in self.x("xdotool", "getmouselocation", "--shell").split())
        return int(place["X"]), int(place["Y"])

    def move_to(self, window, x, y):
        left, top, _, _ = self.client_rect(window)
        target = (left + x, top + y)
        # `--sync` waits until the pointer has left the place it is at: 15 s when it is there already.
        if self.pointer() != target:
            self.x("xdotool", "mousemove", "--sync", str(target[0]), str(target[1]))

    def press(self, window, x, y, button=1):
        self.move_to(window, x, y)
        self.x("xdotool", "mousedown", str(button))

    def release(self, button=1):
        self.x("xdotool", "mouseup", str(button))

    def click(self, window, x, y, button=1):
        self.move_to(window, x, y)
        self.x("xdotool", "click", str(button))

    def drag(self, window, start, end, steps=6):
        self.press(window, *start)
        for k in range(1, steps + 1):
            self.move_to(window, start[0] + (end[0] - start[0]) * k // steps,
                         start[1] + (end[1] - start[1]) * k // steps)
        self.release()

    def key(self, *keys):
        """Key strokes to the window that has the focus, e.g. key("Escape"), key("alt+F4")."""
        self.x("xdotool", "key", "--delay", "30", *keys)

    def close_request(self, window):
        """What a window manager's close button sends: WM_DELETE_WINDOW through _NET_CLOSE_WINDOW."""
        self.x("wmctrl", "-i", "-c", hex(window))

    def activate(self, window):
        """Makes `window` the one that gets the keys, and waits until it has the input focus: keys sent
        before the window manager has passed the focus on would go elsewhere (or nowhere) unnoticed."""

        def focused():
            if self.wm:
                self.x("xdotool", "windowactivate", str(window), check=False)
            else:
                self.x("xdotool", "windowfocus", str(window), check=False)
            return self.x("xdotool", "getwindowfocus", check=False).strip() == str(window)

        wait_for(focused, what=f"window {window:#x} to get the input focus", interval=0.2)

    # --- pixels

    def grab(self, window=None, frame=False):
        """The pixels of a window's client area (or its frame, or the screen) as an Image."""
        screen = Image.from_xwd(subprocess.run(["xwd", "-root", "-silent"], env=self.env(), check=True,
                                               capture_output=True).stdout)
        if window is None:
            return screen
        rect = self.frame_rect(window) if frame else self.client_rect(window)
        return screen.crop(*rect)

    def drawn(self, window):
        """A window's own pixels once it has been drawn (more than a few colours) and they stay the same
        between two looks; a window that has just appeared may not be drawn yet. Read from the window
        itself: the screen shows a message window's place black under Xvfb."""

        def own_pixels():
            return Image.from_xwd(subprocess.run(["xwd", "-id", str(window), "-silent"], env=self.env(),
                                                 check=True, capture_output=True).stdout)

        def look():
            first = own_pixels()
            time.sleep(0.1)
            second = own_pixels()
            return second if first.rows == second.rows and second.colours() > 4 else None

        return wait_for(look, what=f"window {window:#x} to be drawn")

    def screenshot(self, name, window=None, frame=True):
        """Saves a PNG into the test's directory (kept with TOLVAR_DESKTOP_KEEP=1) and returns its path."""
        path = self.path(name if name.endswith(".png") else name + ".png")
        self.grab(window, frame).save_png(path)
        return path


class Image:
    """RGB pixels read back from the X server."""

    def __init__(self, width, height, rows):
        self.width, self.height, self.rows = width, height, rows  # rows: list of bytes, 3 per pixel

    @staticmethod
    def from_xwd(data):
        fields = struct.unpack(">25I", data[:100])
        header_size, _, _, depth, width, height = fields[:6]
        byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
        ncolors = fields[19]
        if depth != 24 or bits_per_pixel not in (24, 32):
            raise DesktopError(f"unexpected screen format: depth {depth}, {bits_per_pixel} bits per pixel")
        step = bits_per_pixel // 8
        # Least significant byte first is B G R (x), most significant first (x) R G B.
        red, green, blue = (2, 1, 0) if byte_order == 0 else (step - 3, step - 2, step - 1)
        offset = header_size + 12 * ncolors
        rows = []
        for y in range(height):
            line = data[offset + y * bytes_per_line: offset + y * bytes_per_line + step * width]
            rgb = bytearray(3 * width)
            rgb[0::3], rgb[1::3], rgb[2::3] = line[red::step], line[green::step], line[blue::step]
            rows.append(bytes(rgb))
        return Image(width, height, rows)

    def crop(self, x, y, width, height):
        x0, y0 = max(0, x), max(0, y)
        x1, y1 = min(self.width, x + width), min(self.height, y + height)
        return Image(x1 - x0, y1 - y0, [row[3 * x0: 3 * x1] for row in self.rows[y0:y1]])

    def pixel(self, x, y):
        row = self.rows[y]
        return tuple(row[3 * x: 3 * x + 3])

    def differences(self, other):
        """How many pixels differ from another picture of the same size."""
        if (self.width, self.height) != (other.width, other.height):
            raise DesktopError("pictures of different sizes")
        count = 0
        for mine, theirs in zip(self.rows, other.rows):
            if mine != theirs:
                count += sum(mine[k: k + 3] != theirs[k: k + 3] for k in range(0, len(mine), 3))
        return count

    def colours(self):
        seen = set()
        for row in self.rows:
            seen.update(row[k: k + 3] for k in range(0, len(row), 3))
        return len(seen)

    def save_png(self, path):
        raw = b"".join(b"\x00" + row for row in self.rows)
        chunk = lambda kind, body: (struct.pack(">I", len(body)) + kind + body +
                                    struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n")
            out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)))
            out.write(chunk(b"IDAT", zlib.compress(raw, 6)))
            out.write(chunk(b"IEND", b""))


class Game:
    """One copy of the program directory with a home of its own, started and stopped on a Desktop. With
    `same_as`, another process of the game in the same program directory and home: the same player
    running a second copy of the game at the same time."""

    def __init__(self, desk, settings=None, program_dir=None, same_as=None):
        self.desk = desk
        self.proc = None
        self.runs = 0
        if same_as is not None:
            self.root, self.program, self.home = same_as.root, same_as.program, same_as.home
            same_as.copies += 1
            self.name = f"copy{same_as.copies}-"
        else:
            self.root = tempfile.mkdtemp(prefix="game-", dir=desk.root)
            self.program = os.path.join(self.root, "game")
            shutil.copytree(program_dir or game_dir(), self.program)
            self.home = os.path.join(self.root, "home")
            self.name = ""
        self.copies = 1
        self.environment = {}  # variables a test adds to the game's environment or changes in it
        self.config = os.path.join(self.home, ".config")
        self.data = os.path.join(self.home, ".local", "share")
        self.state = os.path.join(self.home, ".local", "state")
        self.runtime = os.path.join(self.root, "runtime")
        for directory in (self.config, self.data, self.state, self.runtime):
            os.makedirs(directory, exist_ok=True)
        os.chmod(self.runtime, 0o700)
        if settings is not None:
            self.write_settings(settings)

    @property
    def settings_path(self):
        return os.path.join(self.config, "kestrum.ini")

    @property
    def collection_path(self):
        return os.path.join(self.program, "vorn.dat")

    def write_settings(self, values):
        with open(self.settings_path, "w") as out:
            out.write("[Tolvar Pegs 1]\n")
            for key, value in values.items():
                out.write(f"{key}={value}\n")

    def settings(self):
        """The game's section of kestrum.ini as {key: int}; {} when there is no file."""
        if not os.path.exists(self.settings_path):
            return {}
        values, inside = {}, False
        with open(self.settings_path, encoding="latin-1") as text:
            lines = text.read().splitlines()
        for line in lines:
            line = line.strip()
            if line.startswith("["):
                inside = line == "[Tolvar Pegs 1]"
            elif inside and "=" in line:
                key, value = line.split("=", 1)
                values[key.strip()] = int(value.strip(), 0)
        return values

    def env(self):
        env = self.desk.env(HOME=self.home, XDG_CONFIG_HOME=self.config, XDG_DATA_HOME=self.data,
                            XDG_STATE_HOME=self.state, XDG_RUNTIME_DIR=self.runtime, TOLVAR_NO_SPLASH="1")
        # An offscreen platform inherited from a test run would open no X window at all.
        env.pop("QT_QPA_PLATFORM", None)
        # A session bus of nobody's: with no address at all, libdbus runs `dbus-launch --autolaunch` at
        # every start, a process and X client of its own that the start would wait for.
        env["DBUS_SESSION_BUS_ADDRESS"] = "unix:path=" + os.path.join(self.runtime, "no-session-bus")
        env.update(self.environment)
        return env

    @property
    def log_path(self):
        return os.path.join(self.root, f"{self.name}run{self.runs}.log")

    def log(self):
        with open(self.log_path, encoding="utf-8", errors="replace") as text:
            return text.read()

    def start(self, wait=True):
        """Starts the game; with `wait`, returns the main window once it shows, framed, with its board title."""
        if self.proc and self.proc.poll() is None:
            raise DesktopError("the game is already running")
        self.runs += 1
        self.proc = subprocess.Popen([os.path.join(self.program, "tolvarpegs")], env=self.env(), cwd=self.root,
                                     stdout=subprocess.DEVNULL, stderr=self.desk._log(self.log_path))
        if not wait:
            return None
        main = self.wait_window(MAIN_SIZE, title=r"Tolvar Pegs \d+.*")
        self.desk.wait_framed(main)
        return main

    @property
    def pid(self):
        return self.proc.pid

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def windows(self, size=None):
        found = []
        for window in self.desk.visible_windows(self.pid):
            if size is None or tuple(self.desk.client_rect(window)[2:]) == tuple(size):
                found.append(window)
        return found

    def wait_window(self, size, title=None, timeout=TIMEOUT):
        """The one visible window of `size` (and whose title matches `title`), once it shows."""
        pattern = re.compile(title) if title else None

        def find():
            if not self.running():
                raise DesktopError(f"the game ended (code {self.proc.returncode}):\n{self.log()}")
            for window in self.windows(size):
                if pattern is None or pattern.fullmatch(self.desk.title(window) or ""):
                    return window
            return None

        return wait_for(find, timeout, what=f"a {size[0]} x {size[1]} window" + (f" titled {title!r}" if title else ""))

    def wait_message(self, timeout=TIMEOUT):
        """The question or notice window, once it shows."""
        return self.wait_window(MESSAGE_SIZE, timeout=timeout)

    def wait_exit(self, timeout=TIMEOUT):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise DesktopError(f"the game did not end within {timeout:.0f} s")

    def kill(self):
        """Ends the game as a crash would: at once, nothing written, nothing removed."""
        self.proc.kill()
        self.proc.wait()

    def stop(self):
        if self.running():
            self.proc.send_signal(signal.SIGTERM)
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
