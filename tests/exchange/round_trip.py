#!/usr/bin/env python3
"""A tool and diagrams drawn with it go through exchange texts into a fresh
project and come out the same.

    round_trip.py GRTOOL CASE WORK

CASE is a folder with case.json:

    {"setup": "setup.grs",            played on the original project (or a
                                      list of scripts, played in turn)
     "tool": "NewDiagram",            the id of the diagram type exported
     "withSeeds": true,
     "diagrams": [{"caption": "Orders"}, {"script": "export_first.grs"}],
     "into": "",                      the diagram elements without one join
     "draw": "draw.grs"}              played on both projects afterwards

A diagram is exported with `grtool export --diagram CAPTION`, or by a script
that selects its seed and runs the export transformation (for diagrams that
have no caption). Paths are relative to CASE. WORK is emptied first.

The original project's objects that the texts name and the objects the
imports created are compared in canonical form (canonical.py); then texts
that are cut off, not exchange texts, or name what the project lacks must be
refused with one line and leave the project as it was; then the drawing
script must make the same objects in both projects.
"""

import json
import os
import re
import shutil
import subprocess
import sys

import canonical


class Failure(Exception):
    pass


def run(grtool, *args, expect_ok=True):
    done = subprocess.run([grtool, *args], capture_output=True, text=True)
    if expect_ok and done.returncode != 0:
        raise Failure("grtool %s failed (%d):\n%s%s" % (" ".join(args), done.returncode,
                                                        done.stdout, done.stderr))
    return done


def dump(grtool, project, file):
    with open(file, "w", encoding="utf-8") as out:
        out.write(run(grtool, "dump", project, "--json").stdout)
    return canonical.load(file)


def compare(what, a, b):
    difference = canonical.first_difference(a, b)
    if difference:
        raise Failure("%s differ at %s" % (what, difference))
    print("%s: %d objects equal" % (what, len(a)))


def export_texts(grtool, case, spec, original, work):
    texts = [os.path.join(work, "tool.txt")]
    args = ["export", original, "--tool", spec["tool"], "-o", texts[0]]
    if spec.get("withSeeds"):
        args.append("--with-seeds")
    print(run(grtool, *args).stdout.strip())
    for n, diagram in enumerate(spec["diagrams"]):
        text = os.path.join(work, "diagram-%d.txt" % n)
        if "caption" in diagram:
            print(run(grtool, "export", original, "--diagram", diagram["caption"], "-o",
                      text).stdout.strip())
        else:
            run(grtool, "play", original, os.path.join(case, diagram["script"]))
            shutil.copyfile(os.path.join(original, "DiagramExportResult.txt"), text)
        texts.append(text)
    return texts


def import_texts(grtool, spec, project, texts):
    print(run(grtool, "import", project, texts[0]).stdout.strip())
    into = ["--into", spec["into"]] if spec.get("into") else []
    for text in texts[1:]:
        print(run(grtool, "import", project, text, *into).stdout.strip())


def bad_texts(tool_text, work):
    with open(tool_text, encoding="utf-8") as f:
        text = f.read()
    middle = text.index(" setAttr ") + 20
    return {
        "cut-off.txt": (text[:middle], "the text is cut off"),
        "not-exchange.txt": ("a;\nb;\n", "not an exchange text"),
        "unknown-class.txt": (re.sub(r"(addObj pp_[0-9]+):NodeType;", r"\1:NodeTyp;", text, 1),
                              "the project has no class \"NodeTyp\""),
    }


def check_refusals(grtool, project, tool_text, work, before):
    for name, (text, reason) in bad_texts(tool_text, work).items():
        file = os.path.join(work, name)
        with open(file, "w", encoding="utf-8") as f:
            f.write(text)
        done = run(grtool, "import", project, file, expect_ok=False)
        lines = done.stderr.strip().splitlines()
        if done.returncode == 0 or len(lines) != 1 or not lines[0].startswith("grtool: ") \
                or ", line " not in lines[0] or reason not in lines[0]:
            raise Failure("import of %s: exit %d, stderr %r" % (name, done.returncode,
                                                                  done.stderr))
        after = dump(grtool, project, os.path.join(work, "after-" + name + ".json"))
        if after != before:
            raise Failure("the refused %s changed the project" % name)
        print("refused %s: %s" % (name, lines[0]))


def draw_on_both(grtool, case, spec, projects, work):
    made = []
    for n, project in enumerate(projects):
        before = dump(grtool, project, os.path.join(work, "draw-before-%d.json" % n))
        run(grtool, "play", project, os.path.join(case, spec["draw"]))
        after = dump(grtool, project, os.path.join(work, "draw-after-%d.json" % n))
        made.append(canonical.canonical(after, canonical.new_since(before, after)))
    compare("drawn with the original and the imported tool", made[0], made[1])


def main(grtool, case, work):
    with open(os.path.join(case, "case.json"), encoding="utf-8") as f:
        spec = json.load(f)
    shutil.rmtree(work, ignore_errors=True)
    os.makedirs(work)
    original = os.path.join(work, "original")
    imported = os.path.join(work, "imported")

    run(grtool, "new", original, "--name", "Demo")
    setup = spec["setup"] if isinstance(spec["setup"], list) else [spec["setup"]]
    run(grtool, "play", original, *[os.path.join(case, script) for script in setup])
    texts = export_texts(grtool, case, spec, original, work)
    exported = dump(grtool, original, os.path.join(work, "original.json"))

    run(grtool, "new", imported, "--name", "Demo")
    fresh = dump(grtool, imported, os.path.join(work, "imported-before.json"))
    import_texts(grtool, spec, imported, texts)
    read = dump(grtool, imported, os.path.join(work, "imported.json"))
    compare("exported and imported",
            canonical.canonical(exported, canonical.created_in_text_order(texts)),
            canonical.canonical(read, canonical.new_since(fresh, read)))

    check_refusals(grtool, imported, texts[0], work, read)
    draw_on_both(grtool, case, spec, [original, imported], work)
    run(grtool, "check", imported)


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    try:
        main(*sys.argv[1:])
    except Failure as failure:
        sys.exit("round trip: %s" % failure)
