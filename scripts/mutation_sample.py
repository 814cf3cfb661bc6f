#!/usr/bin/env python3
"""Plants a sample of plausible faults in each given source file, one at a time, and counts how
many the tests of the file's layer catch.

  mutation_sample.py BUILD_DIR [--per-file N] [--label LABEL] FILE...

The faults are of the kinds a reviewer fears most: a comparison off by one at its limit, a
comparison turned round, a dropped or added "not", "and" for "or", a count one too large or too
small, a success reported as failure and back. The candidates of a file are the lines of code
(comments, includes and string literals are left alone) where such a fault can be planted; the
sample takes N of them spread over the file, always the same ones for the same file, so that a
later run shows whether the tests got sharper. Each fault is built and the layer's test program
run (a fault that does not build is not counted); the file is restored whatever happens.
Prints "caught/planted" per file with every fault that survived, then the total.
"""
import hashlib, os, random, re, shutil, subprocess, sys, tempfile

# (pattern, replacement): each is tried at every match on a line of code.
OPERATORS = [
    (r" <= ", " < "), (r" < ", " <= "), (r" >= ", " > "), (r" > ", " >= "),
    (r" == ", " != "), (r" != ", " == "),
    (r" && ", " || "), (r" \|\| ", " && "),
    (r"if \(!", "if ("), (r" \+ 1\b", " + 2"), (r" - 1\b", " - 0"),
    (r"return true;", "return false;"), (r"return false;", "return true;"),
    (r"\+\+(\w+)", r"\1"),
]
LAYER_OF_FOLDER = {"disk": "disk_tests", "discovery": "discovery_tests", "recovery": "recovery_tests",
                   "snapshot": "snapshot_tests", "picture": "picture_tests", "app": "app_tests",
                   "platform": "platform_tests", "toolkit": "toolkit_tests", "cli": "cli_tests",
                   "gui": "gui_tests", "biosemu": "disk_tests", "open_device": "cli_tests"}


def code_part(line):
    """The line without its string literals and its comment, or None for lines that hold no code."""
    stripped = line.strip()
    if not stripped or stripped.startswith(("//", "#", "*", "/*")):
        return None
    without_strings = re.sub(r'"(\\.|[^"\\])*"', lambda m: " " * len(m.group(0)), line)
    cut = without_strings.find("//")
    return without_strings if cut < 0 else without_strings[:cut]


def candidates(text):
    found = []
    for number, line in enumerate(text.split("\n")):
        code = code_part(line)
        if code is None:
            continue
        for pattern, replacement in OPERATORS:
            for match in re.finditer(pattern, code):
                # "a < b" inside a template argument list is no comparison.
                if pattern == r" < " and re.search(r"\w<", code[:match.start()]):
                    continue
                mutated = line[:match.start()] + match.expand(replacement) + line[match.end():]
                found.append((number, line, mutated))
    return found


def sample(path, found, count):
    seed = int(hashlib.sha256(path.encode()).hexdigest()[:8], 16)
    chosen = random.Random(seed).sample(range(len(found)), min(count, len(found)))
    return [found[i] for i in sorted(chosen)]


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, **kwargs)


def main(argv):
    if len(argv) < 2:
        sys.exit(__doc__)
    build, rest = argv[0], argv[1:]
    per_file, label = 4, None
    files = []
    while rest:
        word = rest.pop(0)
        if word == "--per-file":
            per_file = int(rest.pop(0))
        elif word == "--label":
            label = rest.pop(0)
        else:
            files.append(word)
    total_planted = total_caught = 0
    for path in files:
        parts = path.split(os.sep)
        layer = label or (LAYER_OF_FOLDER.get(parts[1]) if len(parts) > 2 and parts[0] == "src" else None)
        if not layer:
            print(f"{path}: no test program known for this folder; give --label")
            continue
        text = open(path, encoding="utf-8", errors="surrogateescape").read()
        backup = tempfile.NamedTemporaryFile(delete=False)
        backup.close()
        shutil.copy2(path, backup.name)
        planted, survivors = 0, []
        try:
            for number, line, mutated in sample(path, candidates(text), per_file):
                lines = text.split("\n")
                lines[number] = mutated
                with open(path, "w", encoding="utf-8", errors="surrogateescape") as f:
                    f.write("\n".join(lines))
                if run(["cmake", "--build", build, "--target", layer, "-j2"]).returncode != 0:
                    continue
                planted += 1
                tests = run(["ctest", "--test-dir", build, "-L", f"^{layer}$", "-j2", "--timeout", "300"],
                            env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))
                if tests.returncode == 0:
                    survivors.append(f"  survived, line {number + 1}: {line.strip()}  ->  {mutated.strip()}")
        finally:
            shutil.copy2(backup.name, path)
            os.unlink(backup.name)
        caught = planted - len(survivors)
        total_planted += planted
        total_caught += caught
        print(f"{path}: caught {caught}/{planted}", *survivors, sep="\n", flush=True)
    run(["cmake", "--build", build, "-j2"])
    print(f"total: caught {total_caught}/{total_planted}")


if __name__ == "__main__":
    main(sys.argv[1:])
