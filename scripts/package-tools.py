#!/usr/bin/python3
"""Helpers of scripts/package.sh that the shell does poorly.

  pe-files DIR              the PE files under DIR (by content, not by name), sorted
  pe-version FILE           the file version in FILE's version resource (a.b.c.d)
  guid NAMESPACE NAME       the name-based GUID (RFC 4122 version 5), upper case, in braces
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
        print("{%s}" % str(uuid.uuid5(uuid.UUID(args[0]), args[1])).upper())
    elif command == "digest":
        print(digest(args[0]))
    elif command == "zip":
        make_zip(args[0], args[1], args[2], int(args[3]))
    else:
        sys.exit(f"package-tools: unknown command {command}")


if __name__ == "__main__":
    main(sys.argv)
