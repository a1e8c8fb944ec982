# Esc during a render: Blender's break (SIGINT in background mode sets it, as Esc does in the UI)
# reaches vermil, which stops; the add-on reports a cancel, not an error, and no vermil is left.
#   blender -b --factory-startup --python-exit-code 1 --python test_cancel.py -- --vermil V --addon-dir D
import os
import signal
import sys
import threading

import bpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import blender_scene  # noqa: E402


def vermil_children():
    """Our child processes named vermil, zombies included."""
    found = []
    for entry in os.listdir("/proc"):
        try:
            with open(f"/proc/{entry}/stat") as f:
                fields = f.read().rsplit(")", 1)
            name = fields[0].split("(", 1)[1]
            parent = int(fields[1].split()[1])
        except (OSError, IndexError, ValueError):
            continue
        if parent == os.getpid() and name == "vermil":
            found.append(int(entry))
    return found


def break_once_vermil_runs(stop):
    while not stop.is_set():
        if vermil_children():
            os.kill(os.getpid(), signal.SIGINT)
            return
        stop.wait(0.01)


args = blender_scene.arguments()
blender_scene.enable_addon(args)
reports = blender_scene.record_reports()
# Large enough that vermil is still painting when the break comes.
blender_scene.build_scene(width=960, height=540)
stop = threading.Event()
watcher = threading.Thread(target=break_once_vermil_runs, args=(stop,))
watcher.start()
try:
    bpy.ops.render.render()
finally:
    stop.set()
    watcher.join()

assert not vermil_children(), "vermil still runs after the render returned"
assert ("INFO", "render cancelled") in reports, reports
assert not [r for r in reports if r[0] == "ERROR"], reports
print("cancelled:", reports)
# A cancelled render leaves Blender's exit code at 1; every check passed.
sys.exit(0)
