"""The Windows file as lab staff see it in its properties, read back from the built .exe.

Usage: python3 file_properties_test.py EXE WINDRES OBJDUMP VERSION
"""
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from script_checks import check, finish  # noqa: E402

# What a self-contained program for the lab computers may import: Windows' own libraries.
SYSTEM_DLLS = {"kernel32.dll", "msvcrt.dll", "winmm.dll", "user32.dll", "advapi32.dll",
               "shell32.dll", "ws2_32.dll", "bcrypt.dll", "ntdll.dll"}

def rc_string(literal):
    """The text of a windres string literal: L"..." with \\xNNNN escapes, or "..." plain."""
    wide = literal.startswith("L")
    body = literal[2:-1] if wide else literal[1:-1]
    return re.sub(r"\\x([0-9a-fA-F]{4})", lambda match: chr(int(match.group(1), 16)), body)


def version_values(resources):
    return {name: rc_string(value)
            for name, value in re.findall(r'VALUE "(\w+)", (L?"[^"]*")', resources)}


def main(exe, windres, objdump, version):
    resources = subprocess.run([windres, "-i", exe, "-J", "coff", "-O", "rc"], check=True,
                               capture_output=True, text=True).stdout
    values = version_values(resources)
    major, minor, patch = version.split(".")
    check(f"FILEVERSION {major}, {minor}, {patch}, 0" in resources, "file version")
    check(f"PRODUCTVERSION {major}, {minor}, {patch}, 0" in resources, "product version")
    check(values.get("ProductName") == "rtg-weryfikator", f"product name: {values}")
    check(values.get("ProductVersion") == version, f"product version string: {values}")
    check(values.get("FileVersion") == version, f"file version string: {values}")
    check(values.get("FileDescription", "").startswith(
        "Weryfikator obliczeń do ćwiczenia nr 2 – Rentgenografia"), f"description: {values}")
    check(values.get("CompanyName") == "Pracownia Fizyki Ciała Stałego, Laboratorium Fizyki",
          f"company: {values}")
    check("VALUE \"Translation\", 0x415, 1200" in resources, "not marked Polish, Unicode")
    check("LANGUAGE 21, 1" in resources, "the resource is not tagged Polish")
    check("RT_MANIFEST" in resources and "requestedExecutionLevel level=\"\"asInvoker\"\""
          in resources, "no manifest, or it asks for more than the user's rights")
    for windows, guid in (("7", "35138b9a"), ("8", "4a2f28e3"), ("8.1", "1f676c76"),
                          ("10 and 11", "8e0f7a12")):
        check(guid in resources, f"the manifest does not declare Windows {windows}")

    headers = subprocess.run([objdump, "-p", exe], check=True, capture_output=True,
                             text=True).stdout
    imported = {name.lower() for name in re.findall(r"DLL Name: (\S+)", headers)}
    check(imported and imported <= SYSTEM_DLLS,
          f"imports beyond Windows' own libraries: {sorted(imported - SYSTEM_DLLS)}")

    return finish(f" (imports: {', '.join(sorted(imported))})")


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:5]))
