"""What the Python session tests share: checks, counted as they pass or
fail; the processes a test starts, stopped when it ends; an environment
without umockdev's preload, and a private bus daemon as the system bus.

    sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "lib"))
    from checks import check, stop, stop_all, summary
"""

import os
import shutil
import subprocess
import sys

SKIP = 77  # the status CTest reads as skipped

failures = []
passed = 0


def check(what, ok, detail=""):
    global passed
    if ok:
        passed += 1
        print("ok: " + what)
    else:
        failures.append(what)
        print("FAILED: " + what + (" (" + str(detail) + ")" if detail else ""))


def summary():
    """Prints the count and gives the exit status."""
    print("%d passed, %d failed" % (passed, len(failures)))
    return 1 if failures else 0


def stop(p):
    """Ends a child: SIGTERM, then SIGKILL after five seconds."""
    if p.poll() is None:
        p.terminate()
        try:
            p.wait(5)
        except subprocess.TimeoutExpired:
            p.kill()
            p.wait()


def ends_on_sigterm(p, what):
    """Sends SIGTERM and checks that `p` ends with status 0 within ten seconds."""
    p.send_signal(15)
    try:
        code = p.wait(10)
    except subprocess.TimeoutExpired:
        code = None
    check(what, code == 0, "status %s" % code)


def stop_all(procs):
    """Ends the children, the last started first."""
    for p in reversed(procs):
        stop(p)


def run_in_fresh_folder(run):
    """run(exe, work, procs) with the command line's VOLTWISE and WORK_DIR,
    WORK_DIR made afresh; every process it started is stopped after."""
    exe, work = sys.argv[1], sys.argv[2]
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    procs = []
    try:
        return run(exe, work, procs)
    finally:
        stop_all(procs)


def clean_env(**extra):
    """The environment without the umockdev preload (only upowerd gets it)."""
    env = {k: v for k, v in os.environ.items() if k not in ("LD_PRELOAD", "UMOCKDEV_DIR")}
    env.update(extra)
    return env


# Who may do what on a test's private bus: everything.
OPEN_POLICY = """    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>"""


def start_bus(work, procs, kind, policy=OPEN_POLICY):
    """A private bus daemon of `kind` ("system", "session") with `policy`:
    (the daemon, its address or None)."""
    socket = os.path.join(work, kind + "_bus_socket")
    config = os.path.join(work, kind + "-bus.conf")
    with open(config, "w") as f:
        f.write("""<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>%s</type>
  <listen>unix:path=%s</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
%s
  </policy>
</busconfig>
""" % (kind, socket, policy))
    bus = subprocess.Popen(["dbus-daemon", "--config-file=" + config, "--nofork", "--print-address"],
                           stdout=subprocess.PIPE, stderr=open(os.path.join(work, kind + "-bus.log"), "w"),
                           env=clean_env())
    procs.append(bus)
    address = bus.stdout.readline().decode().strip()
    return bus, (address or None)


def start_system_bus(work, procs):
    """A private bus daemon as the system bus: (the daemon, its address or None)."""
    return start_bus(work, procs, "system")
