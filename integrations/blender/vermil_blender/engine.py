"""The Vermil render engine: F12 and animation renders through `vermil render`.

Each frame is exported with Blender's own glTF exporter as it stands at that frame (modifiers,
rigs and all), wrapped in a scene document, rendered by vermil into one multi-layer EXR, and read
back into the render result with its layers as passes.
"""

import logging
import os
import tempfile
import threading
import traceback

import bpy
import numpy as np

from . import document, exr, vermil_process
from .preferences import VermilNotFound, find_vermil

# Everything reported also goes to this logger: background renders (`blender -b`) show no reports.
log = logging.getLogger(__package__)

# (vermil layer, Blender pass, EXR channels, channel ids, socket type). Depth comes through
# Blender's own Z pass (View Layer > Passes > Data > Z), which Blender adds itself.
CUSTOM_PASSES = (
    (document.LINES_PASS, document.LINES_PASS, ("lines.R", "lines.G", "lines.B", "lines.A"), "RGBA", 'COLOR'),
    ("N", "N", ("N.X", "N.Y", "N.Z"), "XYZ", 'VECTOR'),
    ("objectId", "objectId", ("objectId.X",), "X", 'VALUE'),
    ("materialId", "materialId", ("materialId.X",), "X", 'VALUE'),
    ("coverage", "coverage", ("coverage.X",), "X", 'VALUE'),
)
# Passes that hold colours, which vermil writes as display colours.
COLOUR_PASSES = {"Combined", document.LINES_PASS}


def _passes(scene):
    has_lines = scene.vermil.lines and bool(document.line_elements(scene.vermil))
    return [p for p in CUSTOM_PASSES if p[0] != document.LINES_PASS or has_lines]


def _display_to_linear(rgba):
    """vermil's colours are meant to be shown as they are; Blender shows linear colours through its
    view transform, so they are decoded from sRGB (unpremultiplied) to look the same under Standard."""
    alpha = rgba[..., 3:4]
    safe = np.where(alpha > 0, alpha, 1)
    c = np.clip(rgba[..., :3] / safe, 0, None)
    linear = np.where(c <= 0.04045, c / 12.92, ((c + 0.055) / 1.055) ** 2.4)
    return np.concatenate([linear * alpha, alpha], axis=-1)


def _export_gltf(path):
    # Blender 3.4's glTF add-on uses np.bool, which numpy 1.24 removed.
    if not hasattr(np, "bool"):
        np.bool = bool
    result = bpy.ops.export_scene.gltf(
        filepath=path, export_format='GLB', export_cameras=True, export_lights=True, export_apply=True,
        use_renderable=True, export_animations=False, export_current_frame=True, export_extras=False)
    if 'FINISHED' not in result:
        raise RuntimeError(f"Blender's glTF exporter did not write {path}")


class _Cancelled(Exception):
    pass


def _set_frame(scene, frame):
    # The exporter reads the view layer's own evaluation, which is not the render's: until the
    # frame is set on it, it holds the pose of the frame evaluated before (one frame behind in an
    # animation render).
    scene.frame_set(frame)


def _export_gltf_on_main_thread(path, frame, test_break):
    """F12 in Blender's window renders on a thread of its own, where operators must not run (the
    exporter crashes Blender there), so the export is handed to the main thread through a timer
    and waited for. A background render (`blender -b`) renders on the main thread itself."""
    if threading.current_thread() is threading.main_thread():
        _set_frame(bpy.context.scene, frame)
        _export_gltf(path)
        return
    done = threading.Event()
    outcome = {}

    def export():
        try:
            wm = bpy.context.window_manager
            window = wm.windows[0] if wm and wm.windows else None
            scene = bpy.context.scene if window is None else window.scene
            _set_frame(scene, frame)
            if window is None:
                _export_gltf(path)
            else:
                with bpy.context.temp_override(window=window):
                    _export_gltf(path)
        except Exception as e:  # reported on the render thread
            outcome["error"] = e
        finally:
            done.set()
        return None

    bpy.app.timers.register(export, first_interval=0.0)
    while not done.wait(0.1):
        if test_break():
            if bpy.app.timers.is_registered(export):
                bpy.app.timers.unregister(export)
                raise _Cancelled()
    if "error" in outcome:
        raise outcome["error"]


class VermilRenderEngine(bpy.types.RenderEngine):
    bl_idname = "VERMIL"
    bl_label = "Vermil"
    bl_use_preview = False
    bl_use_postprocess = True

    def update_render_passes(self, scene=None, renderlayer=None):
        self.register_pass(scene, renderlayer, "Combined", 4, "RGBA", 'COLOR')
        if renderlayer.use_pass_z:
            self.register_pass(scene, renderlayer, "Depth", 1, "Z", 'VALUE')
        for _layer, name, channels, chan_id, kind in _passes(scene):
            self.register_pass(scene, renderlayer, name, len(channels), chan_id, kind)

    def render(self, depsgraph):
        try:
            self._render(depsgraph)
        except Exception as e:
            # Said in Blender, with the trace on the console for a bug report.
            traceback.print_exc()
            self._fail(f"{type(e).__name__}: {e}")

    def _render(self, depsgraph):
        scene = depsgraph.scene
        scale = scene.render.resolution_percentage / 100.0
        width = max(1, int(scene.render.resolution_x * scale))
        height = max(1, int(scene.render.resolution_y * scale))
        try:
            vermil = find_vermil(bpy.context)
        except VermilNotFound as e:
            self._fail(str(e))
            return
        passes = _passes(scene)
        use_z = depsgraph.view_layer.use_pass_z
        for _layer, name, channels, chan_id, _kind in passes:
            self.add_pass(name, len(channels), chan_id, layer=depsgraph.view_layer.name)
        layers = ["beauty"] + (["Z"] if use_z else []) + [p[0] for p in passes]

        with tempfile.TemporaryDirectory(prefix="vermil-") as folder:
            model = os.path.join(folder, "blender_scene.glb")
            scene_document = os.path.join(folder, "scene.json")
            image = os.path.join(folder, "frame.exr")
            self.update_stats("", "Vermil: exporting the scene")
            try:
                _export_gltf_on_main_thread(model, scene.frame_current, self.test_break)
                document.write_document(scene_document, document.build_document(
                    depsgraph, os.path.basename(model), width, height))
            except _Cancelled:
                self.update_stats("", "Vermil: cancelled")
                self._tell('INFO', "render cancelled")
                return
            except Exception as e:  # the exporter's failures come in any type
                self._fail(f"exporting the scene failed: {e}")
                return

            def on_progress(fraction, stage):
                self.update_progress(min(max(fraction, 0.0), 1.0))
                self.update_stats("", f"Vermil: {stage} {fraction:.0%}")

            command = [vermil, "render", scene_document, "-o", image, "--progress", "plain",
                       "--compression", "0", "--layers", ",".join(layers)]
            try:
                outcome = vermil_process.run(command, on_progress, self.test_break)
            except OSError as e:
                self._fail(f"could not run {vermil}: {e}")
                return
            if outcome.cancelled:
                self.update_stats("", "Vermil: cancelled")
                self._tell('INFO', "render cancelled")
                return
            if outcome.returncode != 0:
                self._fail(outcome.error())
                return
            for message in outcome.messages:
                if message.startswith("vermil: warning:"):
                    self._tell('WARNING', message)
            try:
                self._load(image, width, height, use_z, passes, depsgraph.view_layer.name)
            except (exr.ExrError, OSError) as e:
                self._fail(f"reading vermil's image: {e}")
                return
        self.update_stats("", "Vermil: done")

    def _load(self, image, width, height, use_z, passes, layer_name):
        file_width, file_height, planes = exr.read_exr(image)
        if (file_width, file_height) != (width, height):
            raise exr.ExrError(f"{image}: {file_width}x{file_height}, expected {width}x{height}")
        # EXR rows run top down, Blender's pass rows bottom up.
        def stacked(channels):
            return np.stack([planes[c][::-1] for c in channels], axis=-1).reshape(-1, len(channels))

        wanted = {"Combined": ("R", "G", "B", "A")}
        if use_z:
            wanted["Depth"] = ("Z",)
        wanted.update((name, channels) for _layer, name, channels, *_ in passes)
        result = self.begin_result(0, 0, width, height, layer=layer_name)
        try:
            for render_pass in result.layers[0].passes:
                channels = wanted.get(render_pass.name)
                if not channels or any(c not in planes for c in channels):
                    continue
                pixels = stacked(channels)
                if render_pass.name in COLOUR_PASSES:
                    pixels = _display_to_linear(pixels)
                render_pass.rect = np.ascontiguousarray(pixels, dtype=np.float32)
        finally:
            self.end_result(result)

    def _fail(self, message):
        self.update_stats("", "Vermil: " + message)
        self._tell('ERROR', message)

    def _tell(self, kind, message):
        log.log(getattr(logging, kind), message)
        self.report({kind}, "Vermil: " + message)


def register():
    bpy.utils.register_class(VermilRenderEngine)


def unregister():
    bpy.utils.unregister_class(VermilRenderEngine)
