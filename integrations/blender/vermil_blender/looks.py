"""The looks built into vermil (the files of looks/ in its source tree), for the material panel."""

# (name, label, description), in the order `vermil looks` lists them.
LOOKS = (
    ("curved", "Curved", "Long curved strokes that follow the surface and end at its silhouette"),
    ("default", "Default", "The painterly material as it comes: the preset file's values, nothing set"),
    ("dry", "Dry", "Dry bristle: short broken strokes over a warm toned canvas"),
    ("rake", "Rake", "A rake of bristles combing parallel lines along each stroke"),
    ("wet", "Wet", "Wet paint that bleeds into its neighbours and darkens at its edges"),
)

DEFAULT_LOOK = "curved"  # as `vermil render --paint` without a name
