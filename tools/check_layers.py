#!/usr/bin/env python3
"""Checks that the program's layers depend on each other in one direction only.

The layers, from the bottom up: platform, window (Windows only), localisation, record,
timezones, skin, pages, app. A source file may include headers of its own layer and of the
layers below it; the command-line companion (cli) sits beside app and may use only platform,
localisation and record. resources/ holds resource ids only and may be included anywhere.

Two more rules:
  - portable files (outside a win32/ folder, not named *_win.cpp) include no Windows header and
    nothing of a win32/ folder, so that they build and are tested natively;
  - each layer's CMakeLists.txt links only libraries of layers it may include (dcs_<layer>).

Prints every offence with its file and line and exits 1 when there is one. Usage:
    check_layers.py [source root]      (default: the folder above this script's)
"""

import pathlib
import re
import sys

LAYERS = ["platform", "window", "localisation", "record", "timezones", "skin", "pages", "app"]
SIDE_LAYERS = {"cli": ["platform", "localisation", "record"]}
SHARED = {"resources"}
SOURCE_SUFFIXES = {".h", ".cpp"}

# The name of each folder's library in the build.
LIBRARY_OF = {folder: "dcs_" + folder for folder in LAYERS + list(SIDE_LAYERS)}

WINDOWS_HEADERS = re.compile(
    r'#\s*include\s*<(windows|windef|winbase|winuser|wingdi|winreg|commctrl|commdlg|shellapi|'
    r'shlobj|shlwapi|objbase|ole2|oleacc|gdiplus|tchar|winioctl|dbt)\.h>', re.IGNORECASE)
PROJECT_INCLUDE = re.compile(r'#\s*include\s*"([A-Za-z0-9_]+)/([^"]+)"')
LINKED_LIBRARY = re.compile(r'\bdcs_[a-z0-9_]+\b')


def allowed_folders(folder):
    """The folders whose headers files of `folder` may include."""
    if folder in SIDE_LAYERS:
        return set(SIDE_LAYERS[folder]) | {folder} | SHARED
    return set(LAYERS[:LAYERS.index(folder) + 1]) | SHARED


def is_win32_file(relative):
    """True for the Win32 half of a layer: the window layer, win32/ subfolders, *_win files."""
    parts = relative.parts
    return parts[0] == "window" or "win32" in parts[1:-1] or relative.stem.endswith("_win")


def layer_description(folder):
    allowed = sorted(allowed_folders(folder) - {folder} - SHARED, key=lambda f: (LAYERS + ["cli"]).index(f))
    return f"{folder} may include only itself, resources/ and {', '.join(allowed) or 'nothing else'}"


def check_includes(root, folder, offences):
    allowed = allowed_folders(folder)
    for path in sorted((root / folder).rglob("*")):
        if path.suffix not in SOURCE_SUFFIXES or not path.is_file():
            continue
        relative = path.relative_to(root)
        portable = not is_win32_file(relative)
        for number, line in enumerate(path.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            where = f"{relative}:{number}"
            match = PROJECT_INCLUDE.search(line)
            if match:
                target_folder, target = match.groups()
                header = f"{target_folder}/{target}"
                if target_folder in LIBRARY_OF or target_folder in SHARED:
                    if target_folder not in allowed:
                        offences.append(f"{where}: includes {header}, against the layers: {layer_description(folder)}")
                    elif portable and is_win32_file(pathlib.PurePath(header)):
                        offences.append(f"{where}: portable file includes the Win32 header {header}")
            if portable and WINDOWS_HEADERS.search(line):
                offences.append(f"{where}: portable file includes a Windows header: {line.strip()}")


def check_links(root, folder, offences):
    cmake = root / folder / "CMakeLists.txt"
    if not cmake.is_file():
        offences.append(f"{folder}/CMakeLists.txt: missing")
        return
    allowed = {LIBRARY_OF[f] for f in allowed_folders(folder) if f in LIBRARY_OF} | {"dcs_header_libraries"}
    text = "\n".join(line.split("#", 1)[0] for line in cmake.read_text(encoding="utf-8").splitlines())
    # target_link_libraries(... dcs_<layer> ...) and dcs_add_layer(<layer> BELOW <layer>...),
    # each possibly over several lines.
    for call in re.finditer(r'\b(target_link_libraries|dcs_add_layer)\s*\(([^)]*)\)', text):
        number = text.count("\n", 0, call.start()) + 1
        if call.group(1) == "target_link_libraries":
            linked = LINKED_LIBRARY.findall(call.group(2))
        else:
            words = call.group(2).split()
            linked = ["dcs_" + layer for layer in words[words.index("BELOW") + 1:]] if "BELOW" in words else []
        for library in linked:
            if library not in allowed:
                offences.append(f"{folder}/CMakeLists.txt:{number}: links {library}, against the layers: "
                                f"{layer_description(folder)}")


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
    offences = []
    for folder in LAYERS + list(SIDE_LAYERS):
        if not (root / folder).is_dir():
            offences.append(f"{folder}/: missing")
            continue
        check_includes(root, folder, offences)
        check_links(root, folder, offences)
    for offence in offences:
        print(offence)
    if offences:
        print(f"layer check: {len(offences)} offence(s) against the layers "
              f"({' -> '.join(LAYERS)}; cli beside app on {', '.join(SIDE_LAYERS['cli'])})")
        return 1
    print("layer check: every include and link follows the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
