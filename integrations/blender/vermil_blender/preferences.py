"""Where the add-on finds the vermil program: its preferences, or PATH."""

import os
import shutil

import bpy


class VermilNotFound(Exception):
    pass


class VermilPreferences(bpy.types.AddonPreferences):
    bl_idname = __package__

    executable: bpy.props.StringProperty(
        name="vermil program",
        description="The vermil executable; empty: `vermil` on PATH",
        subtype='FILE_PATH',
    )

    def draw(self, context):
        self.layout.prop(self, "executable")
        try:
            self.layout.label(text="Using " + find_vermil(context))
        except VermilNotFound as e:
            self.layout.label(text=str(e), icon='ERROR')


def find_vermil(context):
    """The vermil program to run; raises VermilNotFound saying where it looked."""
    addon = context.preferences.addons.get(__package__)
    configured = addon.preferences.executable if addon else ""
    if configured:
        path = bpy.path.abspath(configured)
        if os.path.isfile(path) and os.access(path, os.X_OK):
            return path
        raise VermilNotFound(f"vermil program {path}: not an executable file (Preferences > Add-ons > Vermil)")
    found = shutil.which("vermil")
    if not found:
        raise VermilNotFound("vermil is not on PATH; set its path in Preferences > Add-ons > Vermil")
    return found


def register():
    bpy.utils.register_class(VermilPreferences)


def unregister():
    bpy.utils.unregister_class(VermilPreferences)
