#!/usr/bin/env python3
"""Refuses an #include that goes the wrong way between Vandrel's layers.

The layers are CMake targets that link only downward, so a wrong-way call already fails
to link; an include of a header that holds only inline code or declarations would not.
This check closes that gap. Usage: check_layers.py [SOURCE_ROOT]; prints each offending
include and exits 1, or exits 0 when every include goes down or stays in its layer.
"""
import os
import re
import sys

# Layer of a source file or header, by its path from the source root. Later entries are
# higher; a file may include its own layer and every layer below it.
RANK = {
    "tagwell": 0,
    "vandrel_platform": 1,
    "vandrel_attributes": 2,
    "vandrel_log": 3,
    "vandrel_engine": 4,
    "vandrel_app_models": 5,
    "vandrel_gui": 6,
    "vandrel_app": 6,
    "gallery": 7,
    "vandrel": 7,
}
# Targets that share a rank but must not see each other.
APART = {("vandrel_gui", "vandrel_app"), ("vandrel_app", "vandrel_gui")}
ENGINE = ("rules/", "conditions/", "actions/", "folders/", "basket/")
WIDGET_INCLUDE = re.compile(r"#\s*include\s*<(QtWidgets/|QtGui/|Q(Widget|Dialog|MainWindow|"
                            r"Application|Painter|SystemTrayIcon|Label|PushButton)\b)")
INCLUDE = re.compile(r'#\s*include\s*"([^"]+)"')


def layer_of(path):
    """The target a path (relative to the root, "/" separated) builds into, or None."""
    if path.startswith("tagreader/") or path.startswith("tagwell/"):
        return "tagwell"
    if path.startswith("controls/") or path.startswith("standard/"):
        return "controls"
    if path.startswith("app/gallery/"):
        return "gallery"
    if "/view/" in path:
        return "vandrel_gui"
    if path.startswith("platform/"):
        return "vandrel_platform"
    if path.startswith("attributes/"):
        return "vandrel_attributes"
    if path.startswith("log/"):
        return "vandrel_log"
    if path.startswith(ENGINE):
        return "vandrel_engine"
    if path == "app/main.cpp":
        return "vandrel"
    if path.startswith("app/cli/"):
        return "vandrel_app"
    if path.startswith("app/"):
        # The files directly in app/: the models the command line and the windows share.
        return "vandrel_app_models"
    return None


def allowed(src, dst):
    if dst is None or src == dst:
        return True
    if src == "controls" or dst == "controls":
        # The control libraries include only Qt and themselves; the views and the
        # gallery may use them.
        return src in ("vandrel_gui", "gallery") and dst == "controls"
    if (src, dst) in APART:
        return False
    return RANK[dst] <= RANK[src]


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else
                           os.path.join(os.path.dirname(__file__), ".."))
    folders = ["tagreader", "platform", "attributes", "log", *[e.rstrip("/") for e in ENGINE],
               "app", "controls"]
    faults = []
    for folder in folders:
        for dirpath, _, names in os.walk(os.path.join(root, folder)):
            for name in sorted(names):
                if not name.endswith((".h", ".cpp")):
                    continue
                full = os.path.join(dirpath, name)
                rel = os.path.relpath(full, root).replace(os.sep, "/")
                src = layer_of(rel)
                if src is None:
                    continue
                with open(full, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line.strip())
                        if m and not allowed(src, layer_of(m.group(1))):
                            faults.append(f"{rel}:{number}: {src} must not include "
                                          f"{m.group(1)} ({layer_of(m.group(1))})")
                        elif RANK.get(src, 99) < RANK["vandrel_gui"] and \
                                WIDGET_INCLUDE.match(line.strip()):
                            faults.append(f"{rel}:{number}: {src} is a model layer and "
                                          f"must not include a widget header")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
