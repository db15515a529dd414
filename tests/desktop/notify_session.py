#!/usr/bin/python3
"""The low-battery warnings on a real notification server.

A private session bus, Xvfb and dunst (with a configuration of the test's
own that writes each notification's urgency into its text), and the window's
warnings (the rules and the desktop notifier) driven by vw_notify_driver on a
run loop of its own, with a wall clock the test moves. What dunst showed is
read back with `dunstctl count` and `dunstctl history`:

- the laptop: one warning per crossing, replaced in place (low, then
  critical urgency), withdrawn on mains; nothing while charging; again after
  mains has come and gone, or after the charge has risen by three points;
- a peripheral: once a day, low urgency;
- a server that takes the name and never answers, and a socket that takes
  the connection and never answers: every call returns at once, the loop
  keeps turning, what waits is bounded, the calls time out;
- no session bus: nothing, silently;
- the window itself (off screen), on a battery folder at 15 %: its warning
  reaches dunst; with --no-notify, nothing.

    notify_session.py VW_NOTIFY_DRIVER VOLTWISE WORK_DIR

Exits 77 (skipped) only when dunst or Xvfb is not installed.
"""

import json
import os
import queue
import shutil
import socket
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "lib"))
from checks import SKIP, check, failures, start_bus, stop, stop_all, summary  # noqa: E402

# A call that waited for the bus would take the call's time-out (5 s) or
# for ever; one that does not returns in microseconds.
AT_ONCE = 1.0

DUNSTRC = """[global]
    monitor = 0
    follow = none
    history_length = 100
    idle_threshold = 0
    stack_duplicates = false
    show_indicators = no
[urgency_low]
    timeout = 0
[urgency_normal]
    timeout = 0
[urgency_critical]
    timeout = 0
[u_low]
    msg_urgency = low
    format = "LOW|%s|%b"
[u_normal]
    msg_urgency = normal
    format = "NORMAL|%s|%b"
[u_critical]
    msg_urgency = critical
    format = "CRITICAL|%s|%b"
"""

# A session bus of the test's own (no services to start on demand), on
# which the test may watch every call.
BUS_POLICY = """    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>"""


def wait_until(predicate, timeout=3.0):
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() >= end:
            return value
        time.sleep(0.05)


class Driver:
    """vw_notify_driver, one command a line."""

    def __init__(self, exe, env, work, name):
        self.err_path = os.path.join(work, name + ".err")
        self.proc = subprocess.Popen([exe], env=env, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=open(self.err_path, "w"), text=True, bufsize=1)
        self.answers = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in iter(self.proc.stdout.readline, ""):
            self.answers.put(line.rstrip("\n"))
        self.answers.put(None)

    def __call__(self, command, timeout=20):
        self.proc.stdin.write(command + "\n")
        self.proc.stdin.flush()
        try:
            answer = self.answers.get(timeout=timeout)
        except queue.Empty:
            answer = None
        if answer is None:
            raise RuntimeError("no answer to '%s'" % command)
        return answer

    def took(self, command):
        """How long the command's call took, in seconds."""
        answer = self(command)
        return float(answer.split()[1]) if answer.startswith("ok ") else 1e9

    def status(self):
        return dict(kv.split("=") for kv in self("status").split())

    def stderr(self):
        return open(self.err_path).read()

    def stop(self):
        self.proc.stdin.close()
        self.proc.wait(10)


def start_session_bus(work, procs):
    _, address = start_bus(work, procs, "session", BUS_POLICY)
    if not address:
        raise RuntimeError("dbus-daemon did not start")
    return address


def main():
    exe, voltwise, work = sys.argv[1], sys.argv[2], sys.argv[3]
    for tool in ("dunst", "dunstctl", "Xvfb"):
        if not shutil.which(tool):
            print("skipped: %s is not installed (scripts/deps installs it)" % tool)
            return SKIP
    for tool in ("dbus-daemon", "dbus-send"):
        if not shutil.which(tool):
            print("missing " + tool + " (scripts/deps installs it)")
            return 1
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    procs = []
    try:
        run(exe, voltwise, work, procs)
    finally:
        stop_all(procs)
    return summary()


def env_with(**extra):
    env = {k: v for k, v in os.environ.items()
           if k not in ("DBUS_SESSION_BUS_ADDRESS", "DISPLAY", "WAYLAND_DISPLAY", "XDG_RUNTIME_DIR")}
    env.update(extra)
    return env


def run(exe, voltwise, work, procs):
    runtime = os.path.join(work, "runtime")
    os.makedirs(runtime, mode=0o700)

    # ---- dunst on a private session bus, on its own X server ----
    address = start_session_bus(work, procs)
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "800x600x24", "-nolisten", "tcp"],
                            pass_fds=(write_fd,), stdout=subprocess.DEVNULL,
                            stderr=open(os.path.join(work, "xvfb.log"), "w"))
    procs.append(xvfb)
    os.close(write_fd)
    with os.fdopen(read_fd) as f:
        display = f.readline().strip()
    if not display:
        raise RuntimeError("Xvfb did not start")
    env = env_with(DBUS_SESSION_BUS_ADDRESS=address, XDG_RUNTIME_DIR=runtime)
    dunstrc = os.path.join(work, "dunstrc")
    with open(dunstrc, "w") as f:
        f.write(DUNSTRC)
    dunst = subprocess.Popen(["dunst", "-config", dunstrc], env=dict(env, DISPLAY=":" + display),
                             stdout=open(os.path.join(work, "dunst.log"), "w"), stderr=subprocess.STDOUT)
    procs.append(dunst)

    def dunstctl(*args):
        return subprocess.run(["dunstctl", *args], env=env, capture_output=True, text=True, timeout=10).stdout

    def count(which):
        out = dunstctl("count", which).strip()
        return int(out) if out.isdigit() else -1

    def history():
        out = dunstctl("history")
        try:
            data = json.loads(out)["data"][0]
        except (ValueError, KeyError, IndexError):
            return []
        # Newest first, as dunst gives them.
        return [{k: v["data"] for k, v in n.items()} for n in data]

    def server_up():
        r = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                            "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
                            "string:org.freedesktop.Notifications"], env=env, capture_output=True, text=True)
        return "boolean true" in r.stdout

    if not wait_until(server_up, 10):
        print("dunst did not come up; its log:")
        print(open(os.path.join(work, "dunst.log")).read())
        failures.append("dunst started")
        return

    drv = Driver(exe, env, work, "driver")

    def step(command, displayed, what):
        """Runs a command, lets its calls finish, and checks what dunst shows."""
        took = drv.took(command)
        drv("settle")
        wait_until(lambda: count("displayed") == displayed, 2.0)
        check(what, took < AT_ONCE and count("displayed") == displayed,
              "took %.3f s, %d on show, %d wanted" % (took, count("displayed"), displayed))

    # The laptop running down: one warning per crossing, replaced in place.
    step("laptop 25 discharging", 0, "above the low level: nothing")
    step("laptop 19 discharging", 1, "below 20%: one warning")
    step("laptop 18 discharging", 1, "the same level again: nothing more")
    step("laptop 4 discharging", 1, "critical: the warning is replaced, not stacked")
    step("laptop 2 discharging", 1, "action: replaced again")
    check("nothing went to the history while replacing", count("history") == 0, history())
    step("laptop 2 charging", 0, "mains power withdraws it")
    h = history()
    check("one notification in all, the last text, critical urgency",
          len(h) == 1 and h[0]["appname"] == "Voltwise" and
          h[0]["message"] == "CRITICAL|Battery nearly empty|Test Laptop: 2% left, 0hr 12min at this rate. Plug in now.",
          h)
    step("laptop 3 charging", 0, "nothing while charging")
    step("laptop 1 full", 0, "nothing while full")

    # Mains came and went: warned again.
    step("laptop 19 discharging", 1, "after mains came and went, warned again")
    step("laptop 17 discharging", 1, "the same level: nothing more")
    dunstctl("close-all")
    wait_until(lambda: count("displayed") == 0)
    h = history()
    check("the warning says the device, the percentage and the time left, with normal urgency",
          h and h[0]["message"] == "NORMAL|Battery low|Test Laptop: 19% left, 1hr 54min at this rate.", h[:1])
    step("laptop 16 discharging", 0, "closed by the user: not shown again for the same crossing")
    step("laptop 19.5 discharging", 1, "risen by three points: warned again")
    step("laptop 40 full 1", 0, "withdrawn on mains")
    step("laptop 30 discharging 4", 1, "the service's own critical level warns, whatever the percentage")
    step("laptop 30 charging 4", 0, "and is withdrawn on mains")

    # A mouse: once a day, low urgency.
    mouse = "peripheral /org/freedesktop/UPower/devices/mouse_0 Mouse MX-Anywhere %d %s"
    before = count("history")
    step(mouse % (8, "discharging"), 1, "a mouse at 8%: one warning")
    step(mouse % (7, "discharging"), 1, "already on show: nothing more")
    dunstctl("close-all")
    wait_until(lambda: count("displayed") == 0)
    h = history()
    check("the mouse's warning: low urgency, its model and percentage",
          count("history") == before + 1 and h[0]["message"] == "LOW|Mouse battery low|MX-Anywhere: 8% left.", h[:1])
    drv("advance 3600")
    step(mouse % (6, "discharging"), 0, "an hour later: nothing (once a day)")
    drv("advance 86400")
    step(mouse % (5, "discharging"), 1, "a day later: warned again")
    step(mouse % (5, "charging"), 0, "charging withdraws it")
    drv("advance 86400")
    step(mouse % (4, "charging"), 0, "nothing while it charges")
    drv.stop()
    check("the driver said nothing on standard error", drv.stderr() == "", drv.stderr())

    # The window itself, off screen, on a battery folder running low.
    battery = os.path.join(work, "power_supply", "BAT0")
    os.makedirs(battery)
    for name, value in (("type", "Battery"), ("present", "1"), ("status", "Discharging"), ("capacity", "15"),
                        ("energy_now", "7500000"), ("energy_full", "50000000"), ("power_now", "10000000")):
        with open(os.path.join(battery, name), "w") as f:
            f.write(value + "\n")
    dmi = os.path.join(work, "dmi")
    os.makedirs(dmi)
    with open(os.path.join(dmi, "product_name"), "w") as f:
        f.write("Test Laptop\n")
    window_env = dict(env, SDL_VIDEODRIVER="offscreen", SDL_AUDIODRIVER="dummy",
                      DBUS_SYSTEM_BUS_ADDRESS="unix:path=" + os.path.join(work, "no-system-bus"),
                      VOLTWISE_POWER_SUPPLY_DIR=os.path.dirname(battery), VOLTWISE_DMI_DIR=dmi,
                      XDG_STATE_HOME=os.path.join(work, "state"), XDG_CONFIG_HOME=os.path.join(work, "config"))
    before = count("history")
    for extra, wanted, what in (([], 1, "the window warns of its battery at 15%"),
                                (["--no-notify"], 0, "with --no-notify, the window warns of nothing")):
        window = subprocess.Popen([voltwise, "--no-network", "--settings", os.path.join(work, "settings")] + extra,
                                  env=window_env, stdout=subprocess.DEVNULL,
                                  stderr=open(os.path.join(work, "window.err"), "a"))
        procs.append(window)
        wait_until(lambda: count("displayed") > 0, 10 if wanted else 3)
        check(what, count("displayed") == wanted and window.poll() is None, count("displayed"))
        stop(window)
        dunstctl("close-all")
        wait_until(lambda: count("displayed") == 0)
    h = history()
    check("the window's warning names the computer, the percentage and the time left",
          count("history") == before + 1 and
          h[0]["message"] == "NORMAL|Battery low|Test Laptop: 15% left, 0hr 39min at this rate.", h[:1])
    stop(dunst)

    # ---- a server that takes the name and never answers ----
    owner = subprocess.Popen([exe, "--own-name"], env=env, stdout=subprocess.PIPE, text=True)
    procs.append(owner)
    check("a silent server owns the name", owner.stdout.readline().strip() == "owned")
    drv = Driver(exe, env, work, "silent-server")
    took = [drv.took("laptop 19 discharging")]
    drv("run 0.3")
    check("a Notify to the silent server is in flight", drv.status() == {"connected": "1", "waiting": "0",
                                                                        "inflight": "1"}, drv.status())
    took += [drv.took("laptop 4 discharging"), drv.took("laptop 2 discharging")]
    check("calls to the silent server return at once", max(took) < AT_ONCE, took)
    check("what replaces it waits for its answer (the latest only)",
          drv.status() == {"connected": "1", "waiting": "1", "inflight": "1"}, drv.status())
    ran = drv("run 1")
    check("the loop keeps turning while the server is silent", int(ran.split()[1]) >= 5, ran)
    drv("run 5")
    check("the call timed out and the waiting one went out",
          drv.status() == {"connected": "1", "waiting": "0", "inflight": "1"}, drv.status())
    drv.stop()
    stop(owner)

    # ---- a socket that takes the connection and never answers ----
    path = os.path.join(work, "silent.socket")
    listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    listener.bind(path)
    listener.listen(8)
    held = []

    def hold():
        try:
            while True:
                held.append(listener.accept())
        except OSError:
            pass

    threading.Thread(target=hold, daemon=True).start()
    drv = Driver(exe, env_with(DBUS_SESSION_BUS_ADDRESS="unix:path=" + path, XDG_RUNTIME_DIR=runtime), work,
                 "silent-socket")
    took = [drv.took("laptop 19 discharging")]
    took += [drv.took(mouse.replace("mouse_0", "mouse_%d" % i) % (5, "discharging")) for i in range(40)]
    check("calls on a bus that never answers return at once", max(took) < AT_ONCE, max(took))
    check("what waits for the bus is bounded", drv.status() == {"connected": "1", "waiting": "16", "inflight": "0"},
          drv.status())
    ran = drv("run 1")
    check("the loop keeps turning while the bus is silent", int(ran.split()[1]) >= 5, ran)
    drv("run 10")
    check("the silent bus is given up", drv.status() == {"connected": "0", "waiting": "0", "inflight": "0"},
          drv.status())
    drv.stop()
    check("nothing said on standard error", drv.stderr() == "", drv.stderr())
    listener.shutdown(socket.SHUT_RDWR)
    listener.close()

    # ---- no session bus ----
    for what, bus in (("no session bus at all", None), ("a session bus that is not there", "unix:path=" + os.path.join(work, "nothing-here"))):
        env_none = env_with(XDG_RUNTIME_DIR=runtime)
        if bus:
            env_none["DBUS_SESSION_BUS_ADDRESS"] = bus
        drv = Driver(exe, env_none, work, "no-bus")
        took = drv.took("laptop 19 discharging")
        check(what + ": nothing, at once", took < AT_ONCE and
              drv.status() == {"connected": "0", "waiting": "0", "inflight": "0"}, drv.status())
        drv.stop()
        check(what + ": silently", drv.stderr() == "", drv.stderr())


if __name__ == "__main__":
    sys.exit(main())
