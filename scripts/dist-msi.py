#!/usr/bin/env python3
"""Builds the KestrowDemo installer with wixl from packaging/windows/KestrowDemo.wxs, adds
the system PATH entry for its folder with msibuild, and gives it bytes that depend only on
the input: wixl's random package code and build times in the summary information are
replaced by a package code taken from the package's content and times from
SOURCE_DATE_EPOCH.

Usage: dist-msi.py OUT.msi FOLDER INCLUDE_DIR
  FOLDER       holds KestrowDemo.exe, kestrow-sign.exe, README.txt and LICENSE.txt
  INCLUDE_DIR  holds KestrowDemo.wxi (version, publisher, ...) as CMake writes it
"""
import hashlib
import os
import struct
import subprocess
import sys
import tempfile
import uuid
import xml.etree.ElementTree as ET

try:
    import olefile
except ImportError:  # a python3 of its own (pyenv, venv) beside Debian's python3-olefile
    sys.path.append("/usr/lib/python3/dist-packages")
    import olefile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WXS = os.path.join(ROOT, "packaging", "windows", "KestrowDemo.wxs")
ICON = os.path.join(ROOT, "app", "res", "KestrowDemo.ico")
WIX = "{http://schemas.microsoft.com/wix/2006/wi}"
SUMMARY = "\x05SummaryInformation"
PID_REVISION, PID_CREATED, PID_SAVED = 9, 12, 13  # package code, create and save times
VT_LPSTR, VT_FILETIME = 30, 64


def wixl(args, include_dir, defines):
    # wixl takes file paths relative to the .wxs and looks for includes in its working
    # folder first, so it runs in an empty one.
    command = ["wixl", "-I", include_dir] + [a for k, v in defines.items() for a in ("-D", f"{k}={v}")]
    with tempfile.TemporaryDirectory() as empty:
        run = subprocess.run(command + args + [WXS], cwd=empty, capture_output=True, text=True)
    if run.returncode != 0:
        sys.exit(f"dist-msi: wixl failed:\n{run.stderr}")
    return run.stdout


# wixl 0.101 knows no Environment element, so the system PATH entry for the install folder
# goes in as a table: Name "=-*PATH" sets it on install, in the system's environment, and
# takes it out again with its component; "[~];" appends the folder to what PATH holds.
PATH_ENTRY = ("Environment\tName\tValue\tComponent_\n" "s72\tl255\tL255\ts72\n"
              "Environment\tEnvironment\n" "PathEntry\t=-*PATH\t[~];[INSTALLDIR]\tSignTool\n")
PATH_ACTIONS = (("RemoveEnvironmentStrings", 3300), ("WriteEnvironmentStrings", 5200))


def add_path_entry(msi):
    with tempfile.TemporaryDirectory() as tmp:
        idt = os.path.join(tmp, "Environment.idt")
        with open(idt, "w") as f:
            f.write(PATH_ENTRY)
        queries = [a for action, sequence in PATH_ACTIONS for a in (
            "-q", f"INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) "
                  f"VALUES ('{action}', {sequence})")]
        run = subprocess.run(["msibuild", msi, "-i", idt] + queries, capture_output=True, text=True)
    if run.returncode != 0:
        sys.exit(f"dist-msi: msibuild failed:\n{run.stderr}")


def summary_offsets(data):
    """Offsets of the values of the summary properties, by property id."""
    (section,) = struct.unpack_from("<I", data, 44)
    (count,) = struct.unpack_from("<I", data, section + 4)
    offsets = {}
    for i in range(count):
        pid, offset = struct.unpack_from("<II", data, section + 8 + 8 * i)
        offsets[pid] = section + offset
    return offsets


def rewrite_summary(path, package_code, filetime):
    with olefile.OleFileIO(path, write_mode=True) as ole:
        data = bytearray(ole.openstream(SUMMARY).read())
        offsets = summary_offsets(data)
        for pid in (PID_CREATED, PID_SAVED):
            (vt,) = struct.unpack_from("<I", data, offsets[pid])
            if vt != VT_FILETIME:
                sys.exit(f"dist-msi: summary property {pid} is not a time")
            struct.pack_into("<Q", data, offsets[pid] + 4, filetime)
        vt, length = struct.unpack_from("<II", data, offsets[PID_REVISION])
        code = ("{%s}" % str(package_code).upper()).encode() + b"\0"
        if vt != VT_LPSTR or length != len(code):
            sys.exit("dist-msi: the package code in the summary is not where it belongs")
        start = offsets[PID_REVISION] + 8
        data[start:start + length] = code
        ole.write_stream(SUMMARY, bytes(data))


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    out, folder, include_dir = (os.path.abspath(a) for a in sys.argv[1:])
    epoch = int(os.environ["SOURCE_DATE_EPOCH"])
    wxs_dir = os.path.dirname(WXS)
    defines = {"SourceDir": os.path.relpath(folder, wxs_dir),
               "IconFile": os.path.relpath(ICON, wxs_dir), "ProductCode": "*"}

    source = ET.fromstring(wixl(["-E"], include_dir, defines))
    product = source.find(f"{WIX}Product")
    platform = product.find(f"{WIX}Package").get("Platform")
    upgrade_code = uuid.UUID(product.get("UpgradeCode"))
    # One product code per version and processor: the upgrade codes differ by processor.
    defines["ProductCode"] = str(uuid.uuid5(upgrade_code, product.get("Version"))).upper()

    # The cabinet inside records the files' times.
    for name in os.listdir(folder):
        os.utime(os.path.join(folder, name), (epoch, epoch))
    wixl(["-a", platform, "-o", out], include_dir, defines)
    add_path_entry(out)

    filetime = (epoch + 11644473600) * 10_000_000  # 100 ns steps since 1601
    rewrite_summary(out, uuid.UUID(int=0), filetime)
    with open(out, "rb") as f:
        content = hashlib.sha256(f.read()).hexdigest()
    rewrite_summary(out, uuid.uuid5(upgrade_code, content), filetime)


if __name__ == "__main__":
    main()
