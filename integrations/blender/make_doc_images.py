# Makes docs/images/blender_panels.png (the material tab with the Vermil panel) and
# docs/images/blender_render.png (a painted render through the add-on). Needs a display:
#   xvfb-run -a -s "-screen 0 2560x1440x24" blender --factory-startup --python make_doc_images.py -- VERMIL
# The panels picture is then cut to the Vermil panel:
#   oiiotool docs/images/blender_panels.png --cut 444x543+0+400 -o docs/images/blender_panels.png
import math
import os
import sys

import addon_utils
import bpy

here = os.path.dirname(os.path.abspath(__file__))
images = os.path.join(here, "..", "..", "docs", "images")
vermil = sys.argv[sys.argv.index("--") + 1]

sys.path.insert(0, here)
addon_utils.enable("vermil_blender", default_set=True)
bpy.context.preferences.addons["vermil_blender"].preferences.executable = vermil

scene = bpy.context.scene
for name in ("Cube",):
    bpy.data.objects.remove(bpy.data.objects[name], do_unlink=True)
bpy.ops.mesh.primitive_monkey_add(size=2, location=(0, 0, 0.3), rotation=(0, 0, math.radians(40)))
monkey = bpy.context.active_object
bpy.ops.object.shade_smooth()
monkey.modifiers.new("Subdivision", 'SUBSURF').levels = 2


def material(name, rgb, look):
    mat = bpy.data.materials.new(name)
    mat.use_nodes = True
    mat.node_tree.nodes["Principled BSDF"].inputs["Base Color"].default_value = (*rgb, 1.0)
    mat.vermil.look = look
    return mat


clay = material("Clay", (0.85, 0.4, 0.22), "curved")
clay.vermil.use_brush_size, clay.vermil.brush_size = True, 5
clay.vermil.use_wet_paint, clay.vermil.wet_paint = True, 30
monkey.data.materials.append(clay)
bpy.ops.mesh.primitive_plane_add(size=14, location=(0, 0, -0.7))
bpy.context.active_object.data.materials.append(material("Meadow", (0.3, 0.42, 0.2), "dry"))
bpy.data.objects["Light"].data.energy = 1500
scene.world.color = (0.55, 0.6, 0.7)
scene.render.engine = 'VERMIL'
scene.render.resolution_x, scene.render.resolution_y, scene.render.resolution_percentage = 960, 540, 100
scene.view_settings.view_transform = 'Standard'
scene.render.filepath = os.path.join(images, "blender_render.png")
bpy.ops.render.render(write_still=True)
bpy.context.view_layer.objects.active = monkey


def show_material_tab():
    window = bpy.context.window_manager.windows[0]
    for area in window.screen.areas:
        if area.type == 'PROPERTIES':
            area.spaces[0].context = 'MATERIAL'
            area.tag_redraw()
    bpy.app.timers.register(scroll_to_panel, first_interval=1.0)


def scroll_to_panel():
    # The Vermil panel comes after Blender's long Surface panel: scroll to the end of the tab.
    window = bpy.context.window_manager.windows[0]
    area = max((a for a in window.screen.areas if a.type == 'PROPERTIES'), key=lambda a: a.height)
    region = next(r for r in area.regions if r.type == 'WINDOW')
    with bpy.context.temp_override(window=window, area=area, region=region):
        for _ in range(20):
            bpy.ops.view2d.scroll_down(page=True)
    area.tag_redraw()
    bpy.app.timers.register(screenshot, first_interval=2.0)


def screenshot():
    # A redraw after the tab changed, so the picture shows the material tab.
    window = bpy.context.window_manager.windows[0]
    area = max((a for a in window.screen.areas if a.type == 'PROPERTIES'), key=lambda a: a.height)
    with bpy.context.temp_override(window=window, area=area):
        bpy.ops.screen.screenshot_area(filepath=os.path.join(images, "blender_panels.png"))
    bpy.ops.wm.quit_blender()


bpy.app.timers.register(show_material_tab, first_interval=3.0)
