"""Vermil: renders Blender scenes as brush-stroke paintings through the `vermil` program."""

bl_info = {
    "name": "Vermil",
    "author": "The vermil developers",
    "version": (0, 1, 0),
    "blender": (3, 4, 0),
    "location": "Properties > Render > Render Engine",
    "description": "Render engine that paints the scene with brush strokes and soft outlines through vermil",
    "category": "Render",
}

from . import engine, preferences, properties, ui

_modules = (preferences, properties, engine, ui)


def register():
    for module in _modules:
        module.register()


def unregister():
    for module in reversed(_modules):
        module.unregister()
