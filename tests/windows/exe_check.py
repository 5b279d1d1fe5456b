#!/usr/bin/python3
# Checks a cross-built ribbon.exe without running it: a GUI-subsystem program importing system DLLs
# only, with icon group 101 made of the two images of ribbon.ico (4 and 8 bpp), the project's
# version in VERSIONINFO and the application manifest, element by element in Windows' namespaces.
# Usage: exe_check.py RIBBON.EXE RIBBON.ICO VERSION
import struct
import sys
import xml.etree.ElementTree as ElementTree

import pefile

exe, ico, version = sys.argv[1:]
pe = pefile.PE(exe)


def check(ok, fault):
    ok or sys.exit(f"FAIL: {fault}")


dlls = {entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT}
viewer = {"kernel32.dll", "user32.dll", "gdi32.dll", "opengl32.dll"}
check(pe.OPTIONAL_HEADER.Subsystem == 2, "not a GUI-subsystem program")
check(viewer <= dlls <= viewer | {"msvcrt.dll"}, f"imports {sorted(dlls)}")

resources = {(kind.id, name.id): pe.get_data(leaf.data.struct.OffsetToData, leaf.data.struct.Size)
             for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries for name in kind.directory.entries
             for leaf in name.directory.entries}
icon, group = open(ico, "rb").read(), resources.get((14, 101), bytes(6))
images = [struct.unpack_from("<6xHII", icon, 6 + 16 * i) for i in range(icon[4])]
members = [resources.get((3, struct.unpack_from("<H", group, 18 + 14 * i)[0]))
           for i in range(group[4])]
check([bpp for bpp, _, _ in images] == [4, 8], "ribbon.ico's images are not of 4 and 8 bpp")
check(members == [icon[at:at + size] for _, size, at in images], "icon group 101 is not ribbon.ico")

fixed = pe.VS_FIXEDFILEINFO[0]
numbers = [word >> shift & 0xFFFF for word in (fixed.FileVersionMS, fixed.FileVersionLS,
           fixed.ProductVersionMS, fixed.ProductVersionLS) for shift in (16, 0)]
check(numbers == 2 * ([int(n) for n in version.split(".")] + [0]), f"VERSIONINFO's {numbers}")
text = {key: value for info in pe.FileInfo[0] if info.Key == b"StringFileInfo"
        for table in info.StringTable for key, value in table.entries.items()}
check(text.get(b"FileVersion") == text.get(b"ProductVersion") == version.encode() and
      text.get(b"ProductName") == b"ribbon" and text.get(b"FileDescription"), f"VERSIONINFO {text}")

check([name for kind, name in resources if kind == 24] == [1], "not one manifest, resource 1")
manifest = ElementTree.fromstring(resources[24, 1])
v1, v3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
windows = "{urn:schemas-microsoft-com:compatibility.v1}"
settings = f"{v3}application/{v3}windowsSettings/{{http://schemas.microsoft.com/SMI/"
for path, expected in {
    f"{settings}2005/WindowsSettings}}dpiAware": ["true/pm"],
    f"{settings}2016/WindowsSettings}}dpiAwareness": ["PerMonitorV2, PerMonitor"],
    f"{v1}dependency/{v1}dependentAssembly/{v1}assemblyIdentity": [{
        "type": "win32", "name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0",
        "processorArchitecture": "*", "publicKeyToken": "6595b64144ccf1df", "language": "*"}],
    f"{v3}trustInfo/{v3}security/{v3}requestedPrivileges/{v3}requestedExecutionLevel":
        [{"level": "asInvoker", "uiAccess": "false"}],
    f"{windows}compatibility/{windows}application/{windows}supportedOS": [  # 7, 8, 8.1, 10/11
        {"Id": "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"}, {"Id": "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},
        {"Id": "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"}, {"Id": "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}],
}.items():
    found = [element.text or element.attrib for element in manifest.findall(path)]
    check(found == expected, f"the manifest's {path.rsplit('}')[-1]} is {found}, not {expected}")
print("exe_check: passed")
