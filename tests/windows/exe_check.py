#!/usr/bin/python3
# Checks a cross-built ribbon.exe without running it: a GUI-subsystem program that imports only
# system DLLs, carrying icon group 101 made of the two images of the generated ribbon.ico, the
# project's version in VERSIONINFO and the application manifest, element by element.
# Usage: exe_check.py RIBBON.EXE RIBBON.ICO VERSION
import struct
import sys
import xml.etree.ElementTree as ElementTree

import pefile

exe, ico, version = sys.argv[1:]
pe = pefile.PE(exe)


def check(ok, fault):
    if not ok:
        sys.exit(f"FAIL: {fault}")


check(pe.OPTIONAL_HEADER.Subsystem == 2, "not a GUI-subsystem program")
# Every DLL must be a system one; the four the viewer calls into must be there.
dlls = {entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT}
viewer = {"kernel32.dll", "user32.dll", "gdi32.dll", "opengl32.dll"}
foreign = {dll for dll in dlls - viewer - {"msvcrt.dll"} if not dll.startswith("api-ms-win-crt-")}
check(viewer <= dlls and not foreign, f"imports {sorted(dlls)}")

# Each resource's data by (type, id), and the images of the icon file, 4 and 8 bpp.
resources = {(kind.id, name.id): pe.get_data(leaf.data.struct.OffsetToData, leaf.data.struct.Size)
             for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries for name in kind.directory.entries
             for leaf in name.directory.entries}
icon = open(ico, "rb").read()
images = [struct.unpack_from("<6xHII", icon, 6 + 16 * i) for i in range(icon[4])]
check([bpp for bpp, _, _ in images] == [4, 8], "ribbon.ico does not hold a 4-bpp and an 8-bpp image")
group = resources.get((14, 101), bytes(6))
ids = [struct.unpack_from("<H", group, 6 + 14 * i + 12)[0] for i in range(group[4])]
check([resources.get((3, i)) for i in ids] == [icon[at:at + size] for _, size, at in images],
      "icon group 101 is not the two images of ribbon.ico")

# Explorer's Properties show these: file and product version, as numbers and as text.
fixed = pe.VS_FIXEDFILEINFO[0]
numbers = [int(n) for n in version.split(".")] + [0]
for high, low in (fixed.FileVersionMS, fixed.FileVersionLS), (fixed.ProductVersionMS, fixed.ProductVersionLS):
    check([high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF] == numbers, "VERSIONINFO's numbers")
strings = {key.decode(): value.decode() for info in pe.FileInfo[0] if info.Key == b"StringFileInfo"
           for table in info.StringTable for key, value in table.entries.items()}
check(strings.get("FileVersion") == strings.get("ProductVersion") == version and strings.get("FileDescription")
      and strings.get("ProductName") == "ribbon", f"VERSIONINFO's strings {strings}")

# The one manifest, resource 1 of type 24, element by element in the namespaces Windows reads.
check([name for kind, name in resources if kind == 24] == [1], "not one manifest, resource 1")
manifest = ElementTree.fromstring(resources[24, 1])
v1, v3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
compatibility, smi = "{urn:schemas-microsoft-com:compatibility.v1}", "{http://schemas.microsoft.com/SMI/"
settings = f"{v3}application/{v3}windowsSettings/{smi}"
expected = {
    f"{settings}2005/WindowsSettings}}dpiAware": ["true/pm"],
    f"{settings}2016/WindowsSettings}}dpiAwareness": ["PerMonitorV2, PerMonitor"],
    f"{v1}dependency/{v1}dependentAssembly/{v1}assemblyIdentity": [{
        "type": "win32", "name": "Microsoft.Windows.Common-Controls", "version": "6.0.0.0",
        "processorArchitecture": "*", "publicKeyToken": "6595b64144ccf1df", "language": "*"}],
    f"{v3}trustInfo/{v3}security/{v3}requestedPrivileges/{v3}requestedExecutionLevel":
        [{"level": "asInvoker", "uiAccess": "false"}],
    # Windows 7, 8, 8.1 and 10/11.
    f"{compatibility}compatibility/{compatibility}application/{compatibility}supportedOS": [
        {"Id": "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"}, {"Id": "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}"},
        {"Id": "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"}, {"Id": "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}],
}
for path, wanted in expected.items():
    found = [element.text or element.attrib for element in manifest.findall(path)]
    check(found == wanted, f"manifest's {path.rsplit('}', 1)[1]}: {found}, not {wanted}")
print("exe_check: passed")
