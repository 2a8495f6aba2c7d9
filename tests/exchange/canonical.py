"""The canonical form of objects of a `grtool dump --json`: equal for two
projects that hold the same objects up to their ids.

Each chosen object becomes its class, its values and its links; a link to a
chosen object names it by its position among the chosen ones, a link to any
other object by its class and its `id` (or `caption`). What the engines keep
about open diagrams and selections is no part of a diagram and is left out,
as are the export's bookkeeping and the import's descriptors.
"""

import json
import re

LEFT_OUT_CLASSES = {"LinkedObject", "ExportItem", "Collection", "CurrentDgrPointer",
                    "U#ActiveElementsPointer", "FirstCmdPtr", "LastCmdPtr"}
LEFT_OUT_ROLES = {"linkedObject", "exportItem", "collection", "currentDgrPointer",
                  "activeElementsPointer", "command"}


def left_out(class_name):
    return (class_name in LEFT_OUT_CLASSES or class_name.startswith("D#")
            or class_name.endswith(("Event", "Cmd", "Command")))


def load(dump_file):
    with open(dump_file, encoding="utf-8") as f:
        return {o["id"]: o for o in json.load(f)["objects"]}


def created_in_text_order(text_files):
    """The ids of the objects the exchange texts create, in their order."""
    ids = []
    for name in text_files:
        with open(name, encoding="utf-8") as f:
            ids += [int(n) for n in re.findall(r"^ addObj pp_(\d+):", f.read(), re.M)]
    return ids


def new_since(before, after):
    """The ids of the objects AFTER has and BEFORE had not, in creation order."""
    return sorted(set(after) - set(before))


def reference(objects, positions, target):
    if target in positions:
        return "#%d" % positions[target]
    other = objects.get(target)
    if other is None:
        return "?"
    for key in ("id", "caption"):
        value = other["attributes"].get(key)
        if value:
            return "%s(%s=%s)" % (other["class"], key, value)
    return other["class"]


def canonical(objects, ids):
    chosen = [i for i in ids if i in objects and not left_out(objects[i]["class"])]
    positions = {object_id: n for n, object_id in enumerate(chosen)}
    result = []
    for object_id in chosen:
        o = objects[object_id]
        links = {}
        for role, partners in o["links"].items():
            if role in LEFT_OUT_ROLES:
                continue
            refs = [reference(objects, positions, p) for p in partners
                    if p not in objects or not left_out(objects[p]["class"])]
            if refs:
                links[role] = refs
        result.append({"class": o["class"], "attributes": o["attributes"], "links": links})
    return result


def first_difference(a, b):
    """A line that says where two canonical forms part, or None."""
    for n, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return "object #%d:\n  %s\n  %s" % (n, json.dumps(x, ensure_ascii=False),
                                                json.dumps(y, ensure_ascii=False))
    if len(a) != len(b):
        return "%d objects against %d" % (len(a), len(b))
    return None
