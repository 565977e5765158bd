#!/usr/bin/python3
"""Writes a Windows icon holding the program's icon at every size Windows
draws (16 to 256 pixels), each from its own drawn image, not scaled."""
import sys
from PIL import Image

out, folder = sys.argv[1], sys.argv[2]
sizes = [16, 24, 32, 48, 64, 128, 256]
images = [Image.open("%s/%d.png" % (folder, s)).convert("RGBA") for s in sizes]
images[-1].save(out, format="ICO", sizes=[(s, s) for s in sizes], append_images=images[:-1])
