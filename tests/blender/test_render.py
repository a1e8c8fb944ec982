# One frame through the Vermil engine: the result holds the image with its passes, the painting
# differs clearly from vermil's plain render of the same scene, and a failing vermil is reported.
#   blender -b --factory-startup --python-exit-code 1 --python test_render.py -- --vermil V --addon-dir D
import os
import sys
import tempfile

import bpy
import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import blender_scene  # noqa: E402

args = blender_scene.arguments()
blender_scene.enable_addon(args)
from vermil_blender import exr, looks  # noqa: E402

# The material panel offers exactly the looks vermil is built with.
looks_folder = os.path.join(args.addon_dir, "..", "..", "looks")
built = sorted(f[:-len(".json")] for f in os.listdir(looks_folder) if f.endswith(".json"))
assert [name for name, *_ in looks.LOOKS] == built, (looks.LOOKS, built)

reports = blender_scene.record_reports()
scene = blender_scene.build_scene()
out = args.out or tempfile.mkdtemp(prefix="vermil-blender-test-")
scene.render.image_settings.file_format = 'OPEN_EXR_MULTILAYER'
scene.render.image_settings.exr_codec = 'ZIP'


def render(name):
    scene.render.filepath = os.path.join(out, name + ".exr")
    bpy.ops.render.render(write_still=True)
    return exr.read_exr(scene.render.filepath)[2]


painted = render("painted")
assert not reports, reports
for channel in ("R", "G", "B", "A"):
    for pass_name in ("Combined", "lines"):
        assert f"ViewLayer.{pass_name}.{channel}" in painted, f"no {pass_name}.{channel}: {sorted(painted)}"
for name in ("ViewLayer.Depth.Z", "ViewLayer.N.X", "ViewLayer.objectId.X"):
    assert name in painted, f"no {name}: {sorted(painted)}"

lines = painted["ViewLayer.lines.A"]
assert 0.01 < np.mean(lines > 0.5) < 0.3, f"lines cover {np.mean(lines > 0.5):.3f} of the image"
depth = painted["ViewLayer.Depth.Z"]
cube_depth = depth[45, 80]  # the cube is in the middle of the frame, about 10 m from the camera
assert 5 < cube_depth < 15, f"depth at the centre {cube_depth}"

scene.vermil.painted = False
scene.vermil.lines = False
plain = render("plain")
assert "ViewLayer.lines.R" not in plain, "a lines pass without lines"
rgb = np.stack([painted[f"ViewLayer.Combined.{c}"] for c in "RGB"])
plain_rgb = np.stack([plain[f"ViewLayer.Combined.{c}"] for c in "RGB"])
difference = np.abs(rgb - plain_rgb).mean()
assert difference > 0.01, f"the painting differs from the plain render by only {difference:.4f} on average"
# Brush strokes and canvas break up flat shading: the painting varies more between neighbours.
roughness = np.abs(np.diff(rgb, axis=2)).mean()
plain_roughness = np.abs(np.diff(plain_rgb, axis=2)).mean()
assert roughness > 1.5 * plain_roughness, f"neighbour differences {roughness:.4f} vs {plain_roughness:.4f}"

# An animation exports every frame as it stands at that frame: the cube jumps from left to right.
scene.vermil.painted = True
cube = bpy.data.objects["Cube"]
for frame, x in ((1, -2.5), (2, 2.5)):
    cube.location.x = x
    cube.keyframe_insert("location", index=0, frame=frame)
for curve in cube.animation_data.action.fcurves:
    for key in curve.keyframe_points:
        key.interpolation = 'CONSTANT'
scene.frame_start, scene.frame_end = 1, 2
scene.render.image_settings.file_format = 'PNG'
scene.render.filepath = os.path.join(out, "anim_")
# Moved by hand and not keyed, at frame 1: the render shows the animation, as Blender's own do.
scene.frame_set(1)
cube.location.x = 2.5
bpy.ops.render.render(animation=True)


def clay_column(frame):
    image = bpy.data.images.load(os.path.join(out, f"anim_{frame:04d}.png"))
    pixels = np.array(image.pixels[:]).reshape(image.size[1], image.size[0], 4)
    clay = (pixels[..., 0] > 0.08) & (pixels[..., 0] > 2 * pixels[..., 1])
    return np.nonzero(clay)[1].mean()


left, right = clay_column(1), clay_column(2)
assert left < 70 < 90 < right, f"the cube is at column {left:.0f} in frame 1 and {right:.0f} in frame 2"

bpy.context.preferences.addons["vermil_blender"].preferences.executable = os.path.join(out, "no-vermil")
try:
    bpy.ops.render.render()
    raise AssertionError("a render without vermil went through")
except RuntimeError as e:  # background renders raise the engine's error
    assert "no-vermil: not an executable file" in str(e), e
assert reports and reports[-1][0] == "ERROR" and "no-vermil" in reports[-1][1], reports
print(f"painted differs from plain by {difference:.4f}; neighbour differences {roughness:.4f} vs "
      f"{plain_roughness:.4f}; lines cover {np.mean(lines > 0.5):.3f}")
# The failed render above leaves Blender's exit code at 1; every check passed.
sys.exit(0)
