#!/usr/bin/python3
"""The window follows the battery through the real power service.

A private D-Bus daemon with a system-bus configuration of its own, the real
upowerd over a fake sysfs battery (umockdev), and the application in a window
drawn off screen, all talking on that bus. The fake battery's capacity and
status change and a change uevent is sent: the application logs each change
within a second. upowerd stops: the application carries on, reading the
battery folder, and says so in one line; upowerd starts again: the
application follows it again.

    umockdev-wrapper /usr/bin/python3 upower_session.py VOLTWISE WORK_DIR

Run under umockdev-wrapper: the testbed's uevents are sent from this
process. Exits 77 (skipped) only when no bus daemon can be started here.
"""

import os
import queue
import shutil
import signal
import subprocess
import sys
import threading
import time

import gi

gi.require_version("UMockdev", "1.0")
gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib, UMockdev  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "lib"))
from checks import SKIP, check, clean_env, ends_on_sigterm, run_in_fresh_folder, start_system_bus, summary  # noqa: E402

UPOWERD = "/usr/libexec/upowerd"

# What the application's battery handlers log.
STATE_LINE = "log: batteryStateDidChange->TRUE"


class Lines:
    """A child's standard error, line by line, with the time each arrived."""

    def __init__(self, stream):
        self.queue = queue.Queue()
        self.seen = []
        threading.Thread(target=self._read, args=(stream,), daemon=True).start()

    def _read(self, stream):
        for raw in iter(stream.readline, b""):
            self.queue.put((time.monotonic(), raw.decode(errors="replace").rstrip("\n")))
        self.queue.put((time.monotonic(), None))

    def wait_for(self, predicate, timeout):
        """The first new line for which predicate holds, with its time; None on time-out."""
        end = time.monotonic() + timeout
        while True:
            left = end - time.monotonic()
            if left <= 0:
                return None
            try:
                when, line = self.queue.get(timeout=left)
            except queue.Empty:
                return None
            if line is None:
                return None
            self.seen.append(line)
            if predicate(line):
                return when, line


def run(exe, work, procs):
    for tool in ("dbus-daemon", UPOWERD):
        if not shutil.which(tool):
            print("missing " + tool + " (scripts/deps installs it)")
            return 1

    testbed = UMockdev.Testbed.new()
    battery = testbed.add_device(
        "power_supply", "BAT0", None,
        ["type", "Battery", "present", "1", "status", "Discharging", "capacity", "80",
         "technology", "Li-ion", "model_name", "Fake battery"],
        [])
    root = testbed.get_root_dir()

    def change(capacity=None, status=None):
        if capacity is not None:
            testbed.set_attribute(battery, "capacity", str(capacity))
        if status is not None:
            testbed.set_attribute(battery, "status", status)
        testbed.uevent(battery, "change")
        return time.monotonic()

    # The bus, with a system-bus configuration of its own.
    bus, address = start_system_bus(work, procs)
    if not address:
        print("skipped: no D-Bus daemon could be started here")
        return SKIP
    conn = Gio.DBusConnection.new_for_address_sync(
        address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
        None, None)

    def upower_on_bus():
        reply = conn.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                               "NameHasOwner", GLib.Variant("(s)", ("org.freedesktop.UPower",)),
                               GLib.VariantType("(b)"), Gio.DBusCallFlags.NONE, 2000, None)
        return reply.unpack()[0]

    history = os.path.join(work, "upower-history")
    os.makedirs(history)
    upower_env = dict(os.environ, DBUS_SYSTEM_BUS_ADDRESS=address, UMOCKDEV_DIR=root,
                      UPOWER_HISTORY_DIR=history)
    upowerd_log = open(os.path.join(work, "upowerd.log"), "a")

    def start_upowerd():
        p = subprocess.Popen([UPOWERD], env=upower_env, stdout=upowerd_log, stderr=subprocess.STDOUT)
        procs.append(p)
        end = time.monotonic() + 15
        while time.monotonic() < end and not upower_on_bus():
            if p.poll() is not None:
                break
            time.sleep(0.05)
        return p

    upowerd = start_upowerd()
    if not upower_on_bus():
        print("upowerd did not come up; its log:")
        print(open(os.path.join(work, "upowerd.log")).read())
        return 1

    app_env = clean_env(DBUS_SYSTEM_BUS_ADDRESS=address, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy",
                        VOLTWISE_POWER_SUPPLY_DIR=os.path.join(root, "sys", "class", "power_supply"))

    # Headless, --battery upower reads it once.
    text = subprocess.run([exe, "--battery", "upower", "--text", "--no-network"], env=app_env,
                          capture_output=True, text=True, timeout=20)
    check("--battery upower --text reads 80% from the service",
          text.returncode == 0 and text.stdout.startswith("80% "), text.stdout + text.stderr)

    app = subprocess.Popen([exe, "--no-network", "--settings", os.path.join(work, "settings"), "--scale", "1"],
                           env=app_env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    procs.append(app)
    lines = Lines(app.stderr)
    started = lines.wait_for(lambda l: l.startswith("voltwise: window"), 20)
    check("the window follows UPower", started is not None and "battery: UPower on the system bus" in started[1],
          started[1] if started else "no window line")
    check("the first readout is the service's 80%",
          lines.wait_for(lambda l: l == "log: batteryLevel->80", 5) is not None)
    time.sleep(0.3)

    delays = []

    def expect_level(percent, since, what):
        hit = lines.wait_for(lambda l: l.endswith("new-batteryLevel->%d" % percent), 1.0)
        check(what, hit is not None, "no level %d within a second" % percent)
        if hit:
            delays.append(hit[0] - since)

    # Status and capacity change together: the state, then the level.
    t = change(capacity=42, status="Charging")
    hit = lines.wait_for(lambda l: l == STATE_LINE, 1.0)
    check("charging is logged within a second", hit is not None and
          lines.wait_for(lambda l: l == "log: UIDeviceBatteryStateCharging", 0.2) is not None)
    if hit:
        delays.append(hit[0] - t)
    expect_level(42, t, "42 percent is logged within a second")

    t = change(capacity=41)
    expect_level(41, t, "a level change alone is logged within a second")
    t = change(capacity=53)
    expect_level(53, t, "53 percent is logged as 53 (not 52)")

    t = change(status="Discharging")
    hit = lines.wait_for(lambda l: l == STATE_LINE, 1.0)
    check("unplugged is logged within a second", hit is not None and
          lines.wait_for(lambda l: l == "log: UIDeviceBatteryStateUnplugged", 0.2) is not None)
    if hit:
        delays.append(hit[0] - t)

    # The service goes away: one line, and the application carries on.
    upowerd.send_signal(signal.SIGTERM)
    upowerd.wait(10)
    hit = lines.wait_for(lambda l: "battery:" in l, 3.0)
    check("upowerd stopping is noted in one line naming the folder",
          hit is not None and "UPower left the system bus" in hit[1] and "BAT0" in hit[1], hit[1] if hit else "")
    time.sleep(0.5)
    check("the application keeps running on the folder", app.poll() is None)

    # Back again: it follows the service once more.
    upowerd = start_upowerd()
    hit = lines.wait_for(lambda l: "battery:" in l, 5.0)
    check("the application follows the restarted upowerd",
          hit is not None and "following UPower again" in hit[1], hit[1] if hit else "")
    t = change(capacity=55, status="Charging")
    hit = lines.wait_for(lambda l: l == STATE_LINE, 1.0)
    check("after the restart, a change is logged within a second", hit is not None)
    expect_level(55, t, "after the restart, 55 percent is logged within a second")

    # The bus itself goes: one line, and the application carries on.
    bus.send_signal(signal.SIGTERM)
    bus.wait(10)
    hit = lines.wait_for(lambda l: "battery:" in l, 3.0)
    check("losing the bus is noted in one line", hit is not None and "lost the system bus" in hit[1],
          hit[1] if hit else "")
    time.sleep(0.3)
    check("the application keeps running without the bus", app.poll() is None)

    # SIGTERM ends the window like closing it.
    ends_on_sigterm(app, "the application ends on SIGTERM with status 0")
    extra = [l for l in lines.seen if l.startswith("voltwise:") and not l.startswith("voltwise: window")]
    check("no error lines", not extra, "; ".join(extra))

    if delays:
        ms = sorted(d * 1000 for d in delays)
        print("battery change -> log line: median %.1f ms, max %.1f ms over %d changes"
              % (ms[len(ms) // 2], ms[-1], len(ms)))
    return summary()


if __name__ == "__main__":
    sys.exit(run_in_fresh_folder(run))
