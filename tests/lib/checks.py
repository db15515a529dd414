"""What the Python session tests share: checks, counted as they pass or
fail, and the processes a test starts, stopped when it ends.

    sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "lib"))
    from checks import check, stop, stop_all, summary
"""

import subprocess

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


def stop_all(procs):
    """Ends the children, the last started first."""
    for p in reversed(procs):
        stop(p)
