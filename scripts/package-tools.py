#!/usr/bin/python3
"""Helpers of scripts/package.sh that the shell does poorly.

  pe-files DIR              the PE files under DIR (by content, not by name), sorted
  pe-version FILE           the file version in FILE's version resource (a.b.c.d)
  guid NAMESPACE NAME       the name-based GUID (RFC 4122 version 5), upper case, in braces
  wix-files DIR             the WiX fragment of the staged folder DIR (see wix_files)
  digest DIR                one SHA-256 over the paths, modes and contents under DIR
  zip OUT DIR TOP EPOCH     DIR as OUT, everything under the folder TOP/, in path
                            order, with EPOCH as every entry's time and fixed modes
"""
import hashlib
import os
import struct
import sys
import time
import uuid
import zipfile
from xml.sax.saxutils import escape


def walk(root):
    """Every file and folder under root, relative, in byte order of the path."""
    found = []
    for base, dirs, files in os.walk(root):
        for name in dirs + files:
            found.append(os.path.relpath(os.path.join(base, name), root))
    return sorted(found, key=os.fsencode)


def is_pe(path):
    with open(path, "rb") as f:
        head = f.read(64)
        if len(head) < 64 or head[:2] != b"MZ":
            return False
        f.seek(struct.unpack_from("<I", head, 60)[0])
        return f.read(4) == b"PE\0\0"


def pe_version(path):
    # VS_FIXEDFILEINFO starts with the signature 0xFEEF04BD; the file version
    # follows the structure version as two DWORDs (most significant first).
    with open(path, "rb") as f:
        data = f.read()
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        sys.exit(f"package-tools: {path} has no version resource")
    ms, ls = struct.unpack_from("<II", data, at + 8)
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"


def name_hash(prefix, name):
    return hashlib.sha1(prefix + name.encode()).digest()


def name_guid(prefix, name):
    """The one GUID recipe: the version 5 layout over the SHA-1 of prefix and
    name. With a namespace GUID's bytes as the prefix this is RFC 4122's
    uuid5; the staged files' components use the prefix b"OrvelleEx:"."""
    return uuid.UUID(bytes=name_hash(prefix, name)[:16], version=5)


def wix_files(root):
    """The WiX fragment of a staged folder: every file and folder in it but the
    executable at its top (packaging/OrvelleEx.wxs declares that one), under
    InstallDir, as the component group StagedFiles. One component per file, its
    key path; one per folder, which declares the folder's removal on uninstall,
    so that a folder holding only folders (res/) does not stay behind.
    Identifiers and component GUIDs come from the path inside the folder
    ("res/x.xml" for a file, "res/" for a folder), so the same file keeps its
    component from build to build, which an upgrade relies on."""
    for rel in walk(root):
        path = os.path.join(root, rel)
        if os.path.islink(path) or not (os.path.isfile(path) or os.path.isdir(path)):
            sys.exit(f"wix-files: {path} is neither a file nor a folder")
    # Text for an attribute: XML escapes, and "$$" so wixl's preprocessor keeps a "$".
    def attr(text):
        return escape(text, {'"': "&quot;"}).replace("$", "$$")

    lines, components = [], []

    def emit(key):
        # A letter for the kind of element, then 96 bits of the path's hash.
        ident = name_hash(b"OrvelleEx:", key).hex().upper()[:24]
        return ident, str(name_guid(b"OrvelleEx:", key)).upper()

    def folder(rel, indent):
        here = os.path.join(root, rel)
        names = sorted(os.listdir(here), key=os.fsencode)
        if rel:
            ident, guid = emit(rel + "/")
            lines.append(f'{indent}<Directory Id="d{ident}" Name="{attr(os.path.basename(rel))}">')
            indent += "  "
            lines.append(f'{indent}<Component Id="k{ident}" Guid="{guid}" Win64="yes">')
            lines.append(f'{indent}  <RemoveFolder Id="r{ident}" On="uninstall"/>')
            lines.append(f"{indent}</Component>")
            components.append("k" + ident)
        for name in names:
            file = rel + "/" + name if rel else name
            if not os.path.isfile(os.path.join(here, name)) or file == "OrvelleEx.exe":
                continue
            ident, guid = emit(file)
            lines.append(f'{indent}<Component Id="c{ident}" Guid="{guid}" Win64="yes">')
            lines.append(f'{indent}  <File Id="f{ident}" Name="{attr(name)}" '
                         f'Source="$(var.StagedDir)/{attr(file)}" KeyPath="yes"/>')
            lines.append(f"{indent}</Component>")
            components.append("c" + ident)
        for name in names:
            if os.path.isdir(os.path.join(here, name)):
                folder(rel + "/" + name if rel else name, indent)
        if rel:
            lines.append(f"{indent[2:]}</Directory>")

    folder("", "      ")
    return "\n".join([
        '<?xml version="1.0" encoding="utf-8"?>',
        "<!-- Generated from the staged folder by scripts/package-tools.py; do not edit. -->",
        '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">',
        "  <Fragment>",
        '    <DirectoryRef Id="InstallDir">',
        *lines,
        "    </DirectoryRef>",
        '    <ComponentGroup Id="StagedFiles">',
        *[f'      <ComponentRef Id="{c}"/>' for c in components],
        "    </ComponentGroup>",
        "  </Fragment>",
        "</Wix>",
    ])


def digest(root):
    h = hashlib.sha256()
    for rel in walk(root):
        path = os.path.join(root, rel)
        h.update(os.fsencode(rel) + b"\0" + oct(os.lstat(path).st_mode).encode() + b"\0")
        if os.path.isfile(path):
            with open(path, "rb") as f:
                h.update(hashlib.sha256(f.read()).digest())
    return h.hexdigest()


def make_zip(out, root, top, epoch):
    # The zip format keeps local time in two-second steps; UTC is written, the
    # same on every machine.
    stamp = time.gmtime(max(epoch, 315532800))[:6]
    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for rel in [""] + walk(root):
            path = os.path.join(root, rel)
            name = top + "/" + rel.replace(os.sep, "/") if rel else top
            if os.path.isdir(path):
                info = zipfile.ZipInfo(name + "/", stamp)
                info.external_attr = (0o40755 << 16) | 0x10
                z.writestr(info, b"")
            else:
                info = zipfile.ZipInfo(name, stamp)
                info.external_attr = (0o100755 if is_pe(path) else 0o100644) << 16
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(path, "rb") as f:
                    z.writestr(info, f.read())


def main(argv):
    command, args = argv[1], argv[2:]
    if command == "pe-files":
        for rel in walk(args[0]):
            path = os.path.join(args[0], rel)
            if os.path.isfile(path) and is_pe(path):
                print(rel)
    elif command == "pe-version":
        print(pe_version(args[0]))
    elif command == "guid":
        print("{%s}" % str(name_guid(uuid.UUID(args[0]).bytes, args[1])).upper())
    elif command == "wix-files":
        if not os.path.isdir(args[0]):
            sys.exit(f"wix-files: {args[0]} is not a folder")
        print(wix_files(args[0]))
    elif command == "digest":
        print(digest(args[0]))
    elif command == "zip":
        make_zip(args[0], args[1], args[2], int(args[3]))
    else:
        sys.exit(f"package-tools: unknown command {command}")


if __name__ == "__main__":
    main(sys.argv)
