"""The painterly settings stored on Blender's materials and scenes.

Each material setting comes with a switch: off, the look decides the value; on, the value here
wins over the look's, as a document's own keys win over a wrap's look.
"""

import bpy
from bpy.props import BoolProperty, EnumProperty, FloatProperty, FloatVectorProperty, PointerProperty

from .looks import DEFAULT_LOOK, LOOKS

# (property, vmlMaterial parameter, label, default, min, max, description); ranges as vermil's.
MATERIAL_SETTINGS = (
    ("brush_size", "brushSize", "Brush Size", 10.0, 0.1, 100.0, "Brush tip size in pixels"),
    ("density", "brushDensity", "Density", 26.0, 0.01, 100.0, "How densely strokes cover the surface"),
    ("stroke_length", "strokeLength", "Stroke Length", 20.0, 0.0, 1000.0, "Stroke length in pixels"),
    ("angle_fit", "strokeAngleFit", "Angle Fit", 100.0, 0.0, 100.0,
     "How far strokes turn to follow the surface (percent)"),
    ("wet_paint", "paintBlur", "Wet Paint", 60.0, 0.0, 100.0,
     "Share of the paint that goes into the canvas's wet layer and bleeds (percent)"),
)


def _material_annotations():
    notes = {
        "paint": BoolProperty(name="Paint", default=True,
                              description="Paint this material with brush strokes; off: render it plain"),
        "look": EnumProperty(name="Look", items=LOOKS, default=DEFAULT_LOOK,
                             description="The look whose settings the material starts from"),
    }
    for prop, _param, label, default, low, high, description in MATERIAL_SETTINGS:
        notes["use_" + prop] = BoolProperty(name="Set " + label, default=False,
                                            description="Override the look's " + label.lower())
        notes[prop] = FloatProperty(name=label, default=default, min=low, max=high, description=description)
    return notes


VermilMaterialSettings = type("VermilMaterialSettings", (bpy.types.PropertyGroup,),
                              {"__annotations__": _material_annotations()})


def material_parameters(settings):
    """The vmlMaterial parameters the settings set over the look, by their scene-document names."""
    return {param: round(getattr(settings, prop), 4)
            for prop, param, *_ in MATERIAL_SETTINGS if getattr(settings, "use_" + prop)}


# (prefix, element type, label, default on, default width, default colour)
LINE_ELEMENTS = (
    ("outline", "outline", "Outlines", True, 2.0, (0.1, 0.07, 0.06)),
    ("crease", "normalAngle", "Creases", True, 1.0, (0.16, 0.12, 0.1)),
    ("depth_edge", "edgeBoundary", "Depth Edges", False, 1.0, (0.1, 0.07, 0.06)),
)


def _scene_annotations():
    notes = {
        "painted": BoolProperty(name="Paint", default=True,
                                description="Paint with brush strokes; off: vermil's plain scanline render"),
        "lines": BoolProperty(name="Lines", default=True, description="Draw outlines and creases"),
        "lines_pass_only": BoolProperty(
            name="Lines in Pass Only", default=False,
            description="Leave the image unlined and put the lines only in the lines pass"),
    }
    for prefix, _type, label, on, width, colour in LINE_ELEMENTS:
        notes[prefix] = BoolProperty(name=label, default=on)
        notes[prefix + "_width"] = FloatProperty(name="Width", default=width, min=0.0, max=100.0,
                                                 description=label + " width in pixels")
        notes[prefix + "_color"] = FloatVectorProperty(name="Colour", subtype='COLOR', default=colour,
                                                       min=0.0, max=1.0, size=3)
    return notes


VermilSceneSettings = type("VermilSceneSettings", (bpy.types.PropertyGroup,),
                           {"__annotations__": _scene_annotations()})


def line_elements(settings):
    """The line effect's elements as the scene document writes them, the first drawn on top."""
    elements = []
    for prefix, kind, *_ in LINE_ELEMENTS:
        if not getattr(settings, prefix):
            continue
        element = {"type": kind, "lineWidth": round(getattr(settings, prefix + "_width"), 4),
                   "lineColor": [round(c, 4) for c in getattr(settings, prefix + "_color")],
                   # Every material is on channel 0 (imported ones cannot be moved), so the lines
                   # follow that channel rather than the painterly materials' usual 1.
                   "lineMatID": 0}
        if kind == "outline":
            element["outlineObject"] = True
        elif kind == "normalAngle":
            element.update(normalMin=35, normalMax=100)
        elements.append(element)
    return elements


def register():
    bpy.utils.register_class(VermilMaterialSettings)
    bpy.utils.register_class(VermilSceneSettings)
    bpy.types.Material.vermil = PointerProperty(type=VermilMaterialSettings)
    bpy.types.Scene.vermil = PointerProperty(type=VermilSceneSettings)


def unregister():
    del bpy.types.Scene.vermil
    del bpy.types.Material.vermil
    bpy.utils.unregister_class(VermilSceneSettings)
    bpy.utils.unregister_class(VermilMaterialSettings)
