# F12 in Blender's window: the frame renders on Blender's render thread, not the main one, and
# comes back painted. Run in a window (under Xvfb), not with -b.
#   blender --factory-startup --python test_window.py -- --vermil V --addon-dir D
import os
import sys
import tempfile

import bpy

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import blender_scene  # noqa: E402

args = blender_scene.arguments()
blender_scene.enable_addon(args)
reports = blender_scene.record_reports()
scene = blender_scene.build_scene()
out = tempfile.mkdtemp(prefix="vermil-blender-window-")
state = {"finished": None, "ticks": 0}


def finished(outcome):
    def handler(*_):
        state["finished"] = outcome
    return handler


bpy.app.handlers.render_complete.append(finished("complete"))
bpy.app.handlers.render_cancel.append(finished("cancel"))


def fail(message):
    print(f"FAILED: {message}", flush=True)
    os._exit(1)


def start():
    if 'RUNNING_MODAL' not in bpy.ops.render.render('INVOKE_DEFAULT'):
        fail("the render did not start")


def watch():
    state["ticks"] += 1
    if state["finished"] is None:
        if state["ticks"] > 200:
            fail("no render after 100 s")
        return 0.5
    if state["finished"] != "complete" or reports:
        fail(f"render {state['finished']}, reports {reports}")
    path = os.path.join(out, "window.png")
    bpy.data.images["Render Result"].save_render(path)
    image = bpy.data.images.load(path)
    pixels = image.pixels[:]
    reds = [pixels[i] for i in range(0, len(pixels), 4)]
    # The painted cube's clay against the dark world: some pixels are bright red.
    if not max(reds) > 0.3:
        fail(f"the result is dark throughout (brightest red {max(reds):.3f})")
    print("window render complete", flush=True)
    os._exit(0)


bpy.app.timers.register(start, first_interval=1.0)
bpy.app.timers.register(watch, first_interval=2.0)
