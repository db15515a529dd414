#!/usr/bin/env bash
# Runs upower_session.py under umockdev's preload (its uevents are sent from
# the test process), with the Python that has the GObject bindings.
#
#   upower_session.sh VOLTWISE WORK_DIR          the window following the service
#   upower_session.sh --this-computer VOLTWISE WORK_DIR
#                                                this computer's learned rows
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
for tool in umockdev-wrapper dbus-daemon /usr/libexec/upowerd /usr/bin/python3; do
  command -v "$tool" >/dev/null 2>&1 || { echo "missing $tool (scripts/deps installs it)"; exit 1; }
done
/usr/bin/python3 -c 'import gi; gi.require_version("UMockdev", "1.0")' ||
  { echo "missing the UMockdev bindings (scripts/deps installs gir1.2-umockdev-1.0, python3-gi)"; exit 1; }
script=upower_session.py
if [ "${1:-}" = --this-computer ]; then script=this_computer.py; shift; fi
exec umockdev-wrapper /usr/bin/python3 "$here/$script" "$@"
