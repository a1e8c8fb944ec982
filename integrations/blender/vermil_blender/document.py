"""The scene document vermil renders: Blender's glTF export of the scene, each material wrapped
in its painterly settings, and the camera, size, frame, background and line effect of the scene.
docs/scene-format.md describes the format.
"""

import json

from .properties import line_elements, material_parameters

LINES_PASS = "lines"  # the line render element's name, and so its EXR layer's


def _background(scene):
    world = scene.world
    colour = list(world.color) if world else [0.05, 0.05, 0.05]
    return [round(max(c, 0.0), 4) for c in colour]


def exported_materials(depsgraph):
    """The materials of the meshes the export writes, once each, by name."""
    seen = {}
    for instance in depsgraph.object_instances:
        obj = instance.object
        if obj.type not in {'MESH', 'CURVE', 'SURFACE', 'META', 'FONT'}:
            continue
        for slot in obj.material_slots:
            if slot.material and slot.material.name not in seen:
                seen[slot.material.name] = slot.material
    return list(seen.values())


def build_document(depsgraph, model_file, width, height):
    """The document as a dict; model_file is the exported glTF, relative to the document."""
    scene = depsgraph.scene
    settings = scene.vermil
    render = {
        "width": width,
        "height": height,
        "antialias": True,
        # The export holds the scene as it is at this frame; the frame only numbers the image.
        "frameRate": max(1, round(scene.render.fps / scene.render.fps_base)),
        "startFrame": scene.frame_current,
        "renderer": {"class": "vmlRenderer"} if settings.painted else "scanline",
    }
    if scene.camera:
        render["camera"] = scene.camera.name
    document = {
        "import": {"file": model_file},
        "render": render,
        "environment": {
            "background": _background(scene),
            "backgroundAlpha": 0 if scene.render.film_transparent else 1,
        },
    }
    if settings.painted:
        materials = []
        for material in exported_materials(depsgraph):
            paint = material.vermil
            if not paint.paint:
                continue
            # Named as the imported material, it replaces it and takes it as its base; channel
            # 0, with the imported materials, so one line channel reaches all.
            entry = {"name": material.name, "class": "vmlMaterial", "subMaterials": [material.name],
                     "gbufferId": 0, "look": paint.look}
            entry.update(material_parameters(paint))
            materials.append(entry)
        if materials:
            document["materials"] = materials
    elements = line_elements(settings) if settings.lines else []
    if elements:
        document["effects"] = [{"class": "LineFxManager", "lineOutRenderElement": settings.lines_pass_only,
                                "elements": elements}]
        document["renderElements"] = [{"class": "LineFxRenderElement", "name": LINES_PASS}]
    return document


def write_document(path, document):
    with open(path, "w", encoding="utf-8") as f:
        json.dump(document, f, indent=2)
        f.write("\n")
