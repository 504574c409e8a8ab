#!/usr/bin/env python3
"""Writes the skin archive of the window base tests.

skin.zip holds one skin file, skin.xml, whose root control is named
"from-zip", so that a test can tell a tree built from the archive from one
built from the skin folder or a module resource.  Run it from this folder.
"""
import zipfile

SKIN = '<Window size="120,80"><Container name="from-zip"/></Window>\n'

with zipfile.ZipFile("skin.zip", "w", zipfile.ZIP_DEFLATED) as archive:
    info = zipfile.ZipInfo("skin.xml", date_time=(2024, 1, 1, 0, 0, 0))
    info.compress_type = zipfile.ZIP_DEFLATED
    archive.writestr(info, SKIN)
