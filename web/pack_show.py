#!/usr/bin/env python3
"""Packs the show's files for the page with emscripten's own file packager,
so that the same files always give the same package, byte for byte. The
packager as it stands lists a folder's files in the order the file system
hands them out, which differs from one folder to the next, and gives every
package a random id (used only to cache a package in the browser, which
this page does not ask for). Here folders are listed in name order and the
id is drawn from the package's own bytes.

  pack_show.py FILE_PACKAGER DATA_FILE [file packager's other arguments]
"""
import hashlib
import os
import runpy
import sys
import uuid

packager, data_file = sys.argv[1], sys.argv[2]
list_folder = os.walk


def walk_in_name_order(top, *arguments, **options):
    for folder, folders, files in list_folder(top, *arguments, **options):
        folders.sort()
        files.sort()
        yield folder, folders, files


def id_from_package_bytes():
    with open(data_file, 'rb') as package:
        return uuid.UUID(bytes=hashlib.sha256(package.read()).digest()[:16], version=4)


os.walk = walk_in_name_order
uuid.uuid4 = id_from_package_bytes
sys.argv = [packager] + sys.argv[2:]
runpy.run_path(packager, run_name='__main__')
