"""The panels: painterly settings under Properties > Material, the line effect under Render, and
Blender's own panels that apply to Vermil renders."""

import bpy

from .properties import LINE_ELEMENTS, MATERIAL_SETTINGS

ENGINE = "VERMIL"

# Blender's panels whose settings reach vermil through the glTF export or the document.
BLENDER_PANELS = (
    "EEVEE_MATERIAL_PT_context_material", "EEVEE_MATERIAL_PT_surface", "DATA_PT_context_camera",
    "DATA_PT_lens", "DATA_PT_camera", "DATA_PT_context_light", "DATA_PT_EEVEE_light",
    "VIEWLAYER_PT_layer_passes", "VIEWLAYER_PT_layer_passes_data", "RENDER_PT_color_management",
    "RENDER_PT_format", "RENDER_PT_film",
)


class VermilPanel:
    bl_space_type = 'PROPERTIES'
    bl_region_type = 'WINDOW'
    COMPAT_ENGINES = {ENGINE}

    @classmethod
    def poll(cls, context):
        return context.engine in cls.COMPAT_ENGINES


class VERMIL_PT_material(VermilPanel, bpy.types.Panel):
    bl_label = "Vermil Paint"
    bl_context = "material"

    @classmethod
    def poll(cls, context):
        return super().poll(context) and context.material is not None

    def draw_header(self, context):
        self.layout.prop(context.material.vermil, "paint", text="")

    def draw(self, context):
        settings = context.material.vermil
        layout = self.layout
        layout.use_property_split = True
        layout.active = settings.paint and context.scene.vermil.painted
        layout.prop(settings, "look")
        for prop, *_ in MATERIAL_SETTINGS:
            row = layout.row(heading=settings.bl_rna.properties[prop].name)
            row.prop(settings, "use_" + prop, text="")
            value = row.row()
            value.active = getattr(settings, "use_" + prop)
            value.prop(settings, prop, text="")


class VERMIL_PT_render(VermilPanel, bpy.types.Panel):
    bl_label = "Vermil"
    bl_context = "render"

    def draw(self, context):
        layout = self.layout
        layout.use_property_split = True
        layout.prop(context.scene.vermil, "painted")


class VERMIL_PT_lines(VermilPanel, bpy.types.Panel):
    bl_label = "Lines"
    bl_context = "render"
    bl_parent_id = "VERMIL_PT_render"

    def draw_header(self, context):
        self.layout.prop(context.scene.vermil, "lines", text="")

    def draw(self, context):
        settings = context.scene.vermil
        layout = self.layout
        layout.use_property_split = True
        layout.active = settings.lines
        layout.prop(settings, "lines_pass_only")
        for prefix, _type, label, *_ in LINE_ELEMENTS:
            box = layout.box()
            box.prop(settings, prefix, text=label)
            column = box.column()
            column.active = getattr(settings, prefix)
            column.prop(settings, prefix + "_width")
            column.prop(settings, prefix + "_color")


_classes = (VERMIL_PT_material, VERMIL_PT_render, VERMIL_PT_lines)


def _blender_panels():
    return [p for p in (getattr(bpy.types, name, None) for name in BLENDER_PANELS)
            if p is not None and hasattr(p, "COMPAT_ENGINES")]


def register():
    for cls in _classes:
        bpy.utils.register_class(cls)
    for panel in _blender_panels():
        panel.COMPAT_ENGINES.add(ENGINE)


def unregister():
    for panel in _blender_panels():
        panel.COMPAT_ENGINES.discard(ENGINE)
    for cls in reversed(_classes):
        bpy.utils.unregister_class(cls)
