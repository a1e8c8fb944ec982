"""What the Blender tests share: their arguments, the add-on enabled from the source tree, a small
scene to paint, and a record of what the engine reports."""

import argparse
import logging
import sys

import addon_utils
import bpy

ADDON = "vermil_blender"


def arguments():
    parser = argparse.ArgumentParser()
    parser.add_argument("--vermil", required=True, help="the vermil program")
    parser.add_argument("--addon-dir", required=True, help="the folder holding the vermil_blender package")
    parser.add_argument("--out", help="a folder for the rendered images")
    return parser.parse_args(sys.argv[sys.argv.index("--") + 1:] if "--" in sys.argv else [])


def enable_addon(args):
    sys.path.insert(0, args.addon_dir)
    addon_utils.enable(ADDON, default_set=True)
    bpy.context.preferences.addons[ADDON].preferences.executable = args.vermil


def record_reports():
    """Every (level name, message) the engine reports from now on, in the returned list."""
    reports = []

    class Recorder(logging.Handler):
        def emit(self, record):
            reports.append((record.levelname, record.getMessage()))

    logger = logging.getLogger(ADDON)
    logger.setLevel(logging.INFO)
    logger.addHandler(Recorder())
    return reports


def material(name, rgb):
    mat = bpy.data.materials.new(name)
    mat.use_nodes = True
    mat.node_tree.nodes["Principled BSDF"].inputs["Base Color"].default_value = (*rgb, 1.0)
    return mat


def build_scene(width=160, height=90):
    """Factory startup's cube, light and camera, on a plane; the cube painted wet."""
    scene = bpy.context.scene
    cube = bpy.data.objects["Cube"]
    cube.data.materials.clear()
    clay = material("Clay", (0.8, 0.35, 0.2))
    cube.data.materials.append(clay)
    clay.vermil.look = "wet"
    clay.vermil.use_brush_size = True
    clay.vermil.brush_size = 6
    bpy.ops.mesh.primitive_plane_add(size=12, location=(0, 0, -1))
    bpy.context.active_object.data.materials.append(material("Floor", (0.3, 0.4, 0.25)))
    scene.render.engine = 'VERMIL'
    scene.render.resolution_x, scene.render.resolution_y = width, height
    scene.render.resolution_percentage = 100
    scene.view_settings.view_transform = 'Standard'
    bpy.context.view_layer.use_pass_z = True
    return scene
