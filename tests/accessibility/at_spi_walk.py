#!/usr/bin/env python3
"""What a screen reader sees of halcyra and tessaflash, through the AT-SPI registry.

Starts Xvfb, a private D-Bus session (the AT-SPI bus and registry are started from it on demand) and
virtual controllers on a private bus, then:
  halcyra     finds the effect buttons, LED buttons, sliders, the colour picker and Apply by name and
              role, presses "Per LED", moves the red, green and blue sliders and presses "LED 1"
              through their accessible interfaces, and checks the controller's effect and LED 1;
              then presses Apply and finds its outcome as a notification;
  tessaflash  reads the confirm page's versions from its accessible text, presses OK through its
              action, reads the result page and presses its OK, and checks the controller's firmware
              and the updater's exit code.

Usage: at_spi_walk.py --build DIR
Exits 0 when every check holds, 1 on the first that does not, 77 when a tool it needs is missing
(`./run.sh test` installs them). Every wait is bounded.
"""
import argparse
import fcntl
import os
import pty
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import termios
import threading
import time

SKIP = 77


class Failure(Exception):
    pass


class OutOfTime(BaseException):
    """The walk's own deadline; not an Exception, so that no probe's error handling swallows it."""


def wait_for(seconds, what, probe, step=0.1):
    """Polls probe() until it returns something true; returns it, or raises Failure after `seconds`."""
    end = time.monotonic() + seconds
    last_error = None
    while True:
        try:
            result = probe()
            if result:
                return result
        except Exception as error:  # a call into a window that is still being built
            last_error = error
        if time.monotonic() > end:
            raise Failure(f"timed out waiting for {what}" + (f" (last error: {last_error})" if last_error else ""))
        time.sleep(step)


class Controller:
    """A virtual controller on a terminal of its own, so that it redraws its status line with the LEDs."""

    STATUS = re.compile(r"virtual-controller: (.*)")
    SWATCH = re.compile(r"\x1b\[38;2;(\d+);(\d+);(\d+)m")

    def __init__(self, program, bus, args, log_path):
        master, slave = pty.openpty()
        # Wide enough that the whole line fits and is never cut to the terminal's width.
        fcntl.ioctl(slave, termios.TIOCSWINSZ, struct.pack("HHHH", 50, 400, 0, 0))
        self.process = subprocess.Popen([program, "--bus", bus, "--no-state", "--no-window", *args],
                                        stdin=slave, stdout=slave, stderr=slave, close_fds=True,
                                        start_new_session=True)
        os.close(slave)
        self.master = master
        self.lock = threading.Lock()
        self.line = ""
        self.log = open(log_path, "wb")
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        pending = b""
        while True:
            ready, _, _ = select.select([self.master], [], [], 0.5)
            if not ready:
                if self.process.poll() is not None:
                    return
                continue
            try:
                chunk = os.read(self.master, 65536)
            except OSError:
                return
            if not chunk:
                return
            self.log.write(chunk)
            pending += chunk
            *lines, pending = re.split(rb"[\r\n]", pending)
            for raw in lines:
                text = raw.decode("utf-8", "replace")
                if "virtual-controller: " in text:
                    with self.lock:
                        self.line = text

    def status(self):
        """The latest status line: (the text after the name, the four LEDs as (r, g, b))."""
        with self.lock:
            line = self.line
        leds = [tuple(int(c) for c in m) for m in self.SWATCH.findall(line)]
        text = re.sub(r"\x1b\[[0-9;]*[A-Za-z]", "", line)
        match = self.STATUS.search(text)
        return (match.group(1).strip() if match else ""), leds

    def stop(self):
        stop_process(self.process)
        # The reader ends at the terminal's hang-up once the controller has gone.
        self.reader.join(5)
        os.close(self.master)
        if not self.reader.is_alive():
            self.log.close()


def stop_process(process, seconds=5):
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(seconds)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(seconds)


class Session:
    """Xvfb and a private D-Bus session, with the AT-SPI client connected to them."""

    def __init__(self, work):
        self.work = work
        self.processes = []
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1920x1080x24",
                                      "-nolisten", "tcp"], pass_fds=[write_end], start_new_session=True,
                                     stdout=subprocess.DEVNULL, stderr=open(os.path.join(work, "xvfb.log"), "wb"))
        os.close(write_end)
        display = b""
        end = time.monotonic() + 15
        while not display.endswith(b"\n"):
            ready, _, _ = select.select([read_end], [], [], 0.5)
            if ready:
                chunk = os.read(read_end, 64)
                if not chunk:
                    break
                display += chunk
            if time.monotonic() > end or self.xvfb.poll() is not None:
                break
        os.close(read_end)
        if not display.strip():
            raise Failure("Xvfb did not start")
        os.environ["DISPLAY"] = ":" + display.decode().strip()

        # The bus ends with this session; the AT-SPI bus launcher it starts ends with it.
        self.dbus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                                     start_new_session=True,
                                     stdout=subprocess.PIPE, stderr=open(os.path.join(work, "dbus.log"), "wb"))
        ready, _, _ = select.select([self.dbus.stdout], [], [], 15)
        address = self.dbus.stdout.readline().decode().strip() if ready else ""
        if not address:
            raise Failure("the private D-Bus session did not start")
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = address

    def close(self):
        stop_process(self.dbus)
        stop_process(self.xvfb)


# --- the AT-SPI side ---

def connect_atspi():
    import gi
    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi
    import pyatspi
    # Calls into a program that is busy drawing (two busy cores) may take a while.
    Atspi.set_timeout(10000, 20000)
    global ATSPI
    ATSPI = Atspi
    return Atspi, pyatspi


def find_application(pyatspi, names, seconds=45):
    def probe():
        desktop = fresh(pyatspi.Registry.getDesktop(0))
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name in names:
                return app
        return None
    app = wait_for(seconds, f"the application {names[0]} on the accessibility bus", probe, 0.25)
    # No main loop runs here to apply the program's change events to a cache: every read asks it.
    try:
        app.set_cache_mask(ATSPI.Cache.NONE)
    except Exception:
        pass
    return app


def walk(node, depth=0):
    """Every object under node (node included), depth first."""
    if node is None or depth > 30:
        return
    yield node
    try:
        count = node.childCount
    except Exception:
        return
    for i in range(count):
        try:
            child = node.getChildAtIndex(i)
        except Exception:
            continue
        yield from walk(child, depth + 1)


def fresh(node):
    try:
        node.clear_cache()
    except Exception:
        pass
    return node


def find(root, name, role, showing=True):
    for node in walk(root):
        try:
            fresh(node)
            if node.name == name and node.getRole() == role:
                if not showing or node.getState().contains(STATE_SHOWING):
                    return node
        except Exception:
            continue
    return None


def must_find(root, name, role, seconds=20):
    return wait_for(seconds, f"'{name}' ({role.value_nick if hasattr(role, 'value_nick') else role})",
                    lambda: find(root, name, role))


def has_state(node, state):
    return fresh(node).getState().contains(state)


def do_action(node, action):
    actions = node.queryAction()
    names = [actions.getName(i) for i in range(actions.nActions)]
    if action not in names:
        raise Failure(f"'{node.name}' offers the actions {names}, not '{action}'")
    actions.doAction(names.index(action))


def value_of(node):
    return fresh(node).queryValue().currentValue


def check(condition, what):
    if not condition:
        raise Failure(what)
    passed(what)


def passed(what):
    """Reports a step whose waits and look-ups above have already held."""
    print(f"ok: {what}")


STATE_SHOWING = None
ATSPI = None


# --- halcyra ---

def near(color, expected, tolerance=40):
    return all(abs(a - b) <= tolerance for a, b in zip(color, expected))


def walk_halcyra(build, work, pyatspi):
    global STATE_SHOWING
    STATE_SHOWING = pyatspi.STATE_SHOWING
    bus = os.path.join(work, "bus-halcyra")
    os.makedirs(bus)
    env_bus = dict(os.environ, TARNLINK_BUS=bus)
    controller = Controller(os.path.join(build, "simulator", "virtual-controller"), bus, ["--firmware", "1.1.0"],
                            os.path.join(work, "controller-halcyra.log"))
    halcyra = None
    try:
        wait_for(15, "the virtual controller's status line", lambda: controller.status()[0])
        halcyra = subprocess.Popen([os.path.join(build, "program", "halcyra"), "ui:1"], env=env_bus,
                                   stdout=open(os.path.join(work, "halcyra.log"), "wb"), stderr=subprocess.STDOUT)
        app = find_application(pyatspi, ["Halcyra", "halcyra"])
        print("ok: halcyra is on the accessibility bus")
        # The arrival read is over when the page has put the controller into preview mode.
        wait_for(40, "the arrival read (controller in mode 0x80)", lambda: "mode 0x80" in controller.status()[0])

        radio, push, slider = pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_SLIDER
        effects = {}
        for name in ["Static", "Per LED", "Stars", "Colour cycle", "Breathing", "Layers", "Off"]:
            effects[name] = must_find(app, name, radio)
        passed("the seven effect buttons are radio buttons named by their captions")
        leds = [must_find(app, f"LED {i}", push) for i in range(1, 5)]
        passed("the four LED buttons are push buttons named LED 1 to LED 4")
        for name in ["Apply", "Minimise", "Close"]:
            must_find(app, name, push)
        passed("Apply, Minimise and Close are push buttons")
        channels = {name: must_find(app, name, slider) for name in ["Red", "Green", "Blue"]}
        for name, node in channels.items():
            values = fresh(node).queryValue()
            check(values.minimumValue == 0 and values.maximumValue == 255,
                  f"the {name} slider runs from 0 to 255 (saw {values.minimumValue}..{values.maximumValue})")
        speed = must_find(app, "Speed", slider)
        check(fresh(speed).queryValue().maximumValue == 4, "the speed slider runs to 4")
        hue = must_find(app, "Hue", slider)
        check(fresh(hue).queryValue().maximumValue == 3599 and "degrees" in fresh(hue).description,
              f"the hue bar is a slider 0..3599 that says its value in words ('{hue.description}')")
        field = must_find(app, "Saturation and brightness", pyatspi.ROLE_COLOR_CHOOSER)
        check("saturation" in fresh(field).description and "red" in field.description,
              f"the colour field says its point and colour ('{field.description}')")

        # Per LED, through the button's press action.
        do_action(effects["Per LED"], "Press")
        wait_for(10, "the controller's per-LED effect", lambda: "per-LED colours" in controller.status()[0])
        wait_for(5, "Per LED checked", lambda: has_state(effects["Per LED"], pyatspi.STATE_CHECKED))
        check(not has_state(effects["Static"], pyatspi.STATE_CHECKED), "Per LED is checked, Static no longer")
        passed("pressing Per LED selects the per-LED effect on the controller")

        # The colour, through the sliders' values; the page decides and moves the thumbs.
        for name, wanted in [("Red", 200), ("Green", 0), ("Blue", 0)]:
            fresh(channels[name]).queryValue().currentValue = float(wanted)
            wait_for(5, f"the {name} slider at {wanted}", lambda: value_of(channels[name]) == wanted)
        passed("the red, green and blue sliders take 200, 0, 0 through their value")

        do_action(leds[0], "Press")
        wait_for(10, "LED 1 red on the controller (200, 0, 0)",
                 lambda: len(controller.status()[1]) == 4 and near(controller.status()[1][0], (200, 0, 0)))
        wait_for(5, "LED 1's accessible colour",
                 lambda: fresh(leds[0]).description == "red 200, green 0, blue 0")
        passed(f"LED 1 shows the colour on the controller ({controller.status()[1][0]}) and says it")

        # A disabled slider offers nothing to press or move: the per-LED effect has no speed.
        check(not has_state(speed, pyatspi.STATE_ENABLED), "the speed slider is disabled for Per LED")

        # Apply's outcome is a notification, which a screen reader says as it appears.
        do_action(must_find(app, "Apply", push), "Press")
        must_find(app, "Settings applied", pyatspi.ROLE_NOTIFICATION, seconds=10)
        passed("Apply says 'Settings applied' as a notification")
    finally:
        stop_process(halcyra)
        controller.stop()


# --- tessaflash ---

def top_level_with(app, pyatspi, text):
    for i in range(app.childCount):
        window = fresh(app.getChildAtIndex(i))
        if window is not None and text in (window.description or ""):
            return window
    return None


def walk_updater(build, work, pyatspi):
    bus = os.path.join(work, "bus-updater")
    os.makedirs(bus)
    controller = Controller(os.path.join(build, "simulator", "virtual-controller"), bus, [],
                            os.path.join(work, "controller-updater.log"))
    updater = None
    try:
        wait_for(15, "the virtual controller's status line", lambda: "fw 1.0.100" in controller.status()[0])
        updater = subprocess.Popen([os.path.join(build, "program", "Tessaflash", "tessaflash")],
                                   env=dict(os.environ, TARNLINK_BUS=bus),
                                   stdout=open(os.path.join(work, "tessaflash.log"), "wb"), stderr=subprocess.STDOUT)
        app = find_application(pyatspi, ["tessaflash", "Tessaflash"])
        page = wait_for(20, "the confirm page with both versions",
                        lambda: top_level_with(app, pyatspi, "Installed: V1.00. New: V1.10."))
        passed(f"the confirm page says its message: '{page.description}'")
        push = pyatspi.ROLE_PUSH_BUTTON
        ok = must_find(page, "OK", push)
        must_find(page, "Abort", push)
        must_find(page, "Close", push)
        wait_for(20, "OK enabled", lambda: has_state(ok, pyatspi.STATE_ENABLED))
        passed("the confirm page's OK, Abort and Close are named push buttons")

        do_action(ok, "Press")
        result = wait_for(60, "the result page", lambda: top_level_with(app, pyatspi, "Firmware update complete"))
        passed(f"the result page says its message: '{result.description}'")
        check("fw 1.1.0" in controller.status()[0], f"the controller runs 1.1.0 ({controller.status()[0]})")
        do_action(must_find(result, "OK", push), "Press")
        try:
            code = updater.wait(20)
        except subprocess.TimeoutExpired:
            raise Failure("tessaflash did not end after OK on the result page")
        check(code == 0, f"tessaflash ends with 0 after a successful update (saw {code})")
    finally:
        stop_process(updater)
        controller.stop()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--keep", action="store_true", help="keep the work folder with the logs")
    args = parser.parse_args()
    build = os.path.abspath(args.build)

    for tool in ["Xvfb", "dbus-daemon"]:
        if shutil.which(tool) is None:
            print(f"missing {tool} (./run.sh test installs it)", file=sys.stderr)
            return SKIP
    if not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        print("missing at-spi2-core (./run.sh test installs it)", file=sys.stderr)
        return SKIP
    try:
        import pyatspi  # noqa: F401  (checked here, connected once the bus exists)
    except ImportError:
        print("missing python3-pyatspi (./run.sh test installs it)", file=sys.stderr)
        return SKIP

    work = tempfile.mkdtemp(prefix="at-spi-walk.")
    for folder in ["config", "data", "runtime", "state"]:
        os.makedirs(os.path.join(work, folder))
    os.chmod(os.path.join(work, "runtime"), 0o700)
    os.environ.update(XDG_CONFIG_HOME=os.path.join(work, "config"), XDG_DATA_HOME=os.path.join(work, "data"),
                      XDG_RUNTIME_DIR=os.path.join(work, "runtime"), XDG_STATE_HOME=os.path.join(work, "state"),
                      QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                      NO_AT_BRIDGE="0")
    # An accessibility bus address inherited from a desktop session would take the client and the
    # programs past the private session below (to another run's programs, or to a bus that is gone,
    # where the AT-SPI library aborts the process before any clean-up).
    os.environ.pop("AT_SPI_BUS_ADDRESS", None)
    session = None
    try:
        session = Session(work)
        _, pyatspi = connect_atspi()
        # The AT-SPI bus and registry are started on the first request: have them running before the
        # programs look for them, so that a slow start cannot make a program give up its bridge.
        wait_for(30, "the AT-SPI registry", lambda: pyatspi.Registry.getDesktop(0) is not None and
                 fresh(pyatspi.Registry.getDesktop(0)).childCount >= 0, 0.25)
        walk_halcyra(build, work, pyatspi)
        walk_updater(build, work, pyatspi)
        print("at-spi walk: every check held")
        return 0
    except (Failure, OutOfTime) as failure:
        print(f"at-spi walk: {failure}", file=sys.stderr)
        for log in ["halcyra.log", "tessaflash.log", "dbus.log"]:
            path = os.path.join(work, log)
            if os.path.exists(path):
                with open(path, "rb") as f:
                    tail = f.read()[-1500:].decode("utf-8", "replace")
                print(f"--- {log}, last lines:\n{tail}", file=sys.stderr)
        return 1
    finally:
        if session is not None:
            session.close()
        if args.keep:
            print(f"logs in {work}", file=sys.stderr)
        else:
            shutil.rmtree(work, ignore_errors=True)


def out_of_time(*_):
    raise OutOfTime(f"the whole walk took longer than {WALK_SECONDS} s")


# Below CTest's time-out, so that the walk stops its programs itself rather than being killed.
WALK_SECONDS = 240

if __name__ == "__main__":
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(130))
    signal.signal(signal.SIGALRM, out_of_time)
    signal.alarm(WALK_SECONDS)
    sys.exit(main())
