"""What the tests that run the real power service share: the checks they
count, an environment without umockdev's preload, and a private D-Bus
daemon with a system-bus configuration of its own."""

import os
import shutil
import subprocess
import sys

SKIP = 77
UPOWERD = "/usr/libexec/upowerd"


class Checks:
    """Each check printed as it is made, counted for the summary."""

    def __init__(self):
        self.passed = 0
        self.failures = []

    def __call__(self, what, ok, detail=""):
        if ok:
            self.passed += 1
            print("ok: " + what)
        else:
            self.failures.append(what)
            print("FAILED: " + what + (" (" + detail + ")" if detail else ""))

    def summary(self):
        """Prints the counts; the exit status."""
        print("%d passed, %d failed" % (self.passed, len(self.failures)))
        return 1 if self.failures else 0


def clean_env(**extra):
    """The environment without the umockdev preload (only upowerd gets it)."""
    env = {k: v for k, v in os.environ.items() if k not in ("LD_PRELOAD", "UMOCKDEV_DIR")}
    env.update(extra)
    return env


def start_system_bus(work, procs):
    """A private bus daemon as the system bus; its address, or None."""
    socket = os.path.join(work, "system_bus_socket")
    config = os.path.join(work, "system-bus.conf")
    with open(config, "w") as f:
        f.write("""<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=%s</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
""" % socket)
    bus = subprocess.Popen(["dbus-daemon", "--config-file=" + config, "--nofork", "--print-address"],
                           stdout=subprocess.PIPE, stderr=open(os.path.join(work, "bus.log"), "w"), env=clean_env())
    procs.append(bus)
    address = bus.stdout.readline().decode().strip()
    return (bus, address) if address else (bus, None)


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
        for p in reversed(procs):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait()
