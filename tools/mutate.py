#!/usr/bin/env python3
"""Mutation testing of the platform-free sources against the native unit tests.

    tools/mutate.sh [--max N] [--seed S] [options] FOLDER...

The repository is copied once into a scratch folder (build/mut/src by default; only files whose
contents changed are copied again on later runs) and a native tree is configured beside it
(build/mut/native, benchmarks off). The working tree itself is never touched: every mutant is
written into the copy, built, tested and undone there.

Mutants are small changes to the .cpp files of the given folders. What the native tests never
build is skipped: the Windows-only *Win32.cpp and *_win.cpp files, and code under "#ifdef _WIN32"
(or the "#else" of "#ifndef _WIN32"); so are data tables between "clang-format off" and "on".

    REL    == and != swapped, < and > moved to <= and >=, <= and >= to < and >
    LOGIC  && and || swapped
    ARITH  binary + and - swapped, += and -= swapped
    CONST  an integer literal one more or one less
    GUARD  an early "if (...) return/continue/break ...;" deleted
    NEGATE an if condition negated
    BOOL   true and false swapped

A deterministic sample of --max mutants (by --seed) is run one at a time: the native test
executables whose sources include the mutated file (found through the tree) are rebuilt one after
another with --jobs jobs and run with a timeout; the first one that fails or times out kills the
mutant. A mutant that does not compile counts as neither killed nor survived.

Known equivalent mutants can be listed, one id a line ("#" starts a comment), in a file given
with --equivalent; they are shown apart and left out of the score.
"""

import argparse
import filecmp
import hashlib
import json
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SKIPPED_SUFFIXES = ("Win32.cpp", "_win.cpp")
# Top-level entries of the repository that are not copied.
NOT_COPIED = {".git", "build"}

# ---------------------------------------------------------------------------------------------
# Copying the repository


def sync_copy(source, target):
    """Makes target hold the files of source; only files whose contents differ are written, with
    a fresh time stamp, so that the build tree rebuilds exactly what changed."""
    copied = 0
    wanted = set()
    for folder, dirs, files in os.walk(source):
        rel = os.path.relpath(folder, source)
        if rel == ".":
            dirs[:] = [d for d in dirs if d not in NOT_COPIED and not d.startswith("build-")]
        else:
            dirs[:] = [d for d in dirs if d != ".git"]
        for name in files:
            relpath = os.path.normpath(os.path.join(rel, name))
            wanted.add(relpath)
            src, dst = os.path.join(source, relpath), os.path.join(target, relpath)
            if os.path.islink(src):
                continue
            if os.path.isfile(dst) and filecmp.cmp(src, dst, shallow=False):
                continue
            os.makedirs(os.path.dirname(dst), exist_ok=True)
            shutil.copyfile(src, dst)
            shutil.copymode(src, dst)
            copied += 1
    for folder, dirs, files in os.walk(target, topdown=False):
        for name in files:
            relpath = os.path.normpath(os.path.relpath(os.path.join(folder, name), target))
            if relpath not in wanted:
                os.remove(os.path.join(target, relpath))
    return copied


# ---------------------------------------------------------------------------------------------
# Reading C++ source

PUNCTUATORS = sorted(
    """>>= <<= ... -> ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= :: { } [ ] ( ) ; : ?
    , . + - * / % ^ & | ~ ! = < > #""".split(),
    key=len,
    reverse=True,
)


class Token:
    __slots__ = ("kind", "text", "start", "end")

    def __init__(self, kind, text, start, end):
        self.kind, self.text, self.start, self.end = kind, text, start, end


def tokenize(text):
    """The code tokens of a C++ file: identifiers, numbers, punctuators, and string and character
    literals as single tokens. Comments, preprocessor lines, code only Windows compiles and the
    regions between "clang-format off" and "clang-format on" yield nothing."""
    tokens = []
    i, n = 0, len(text)
    line_start = True
    skipping = False  # inside a clang-format off region
    conditions = []  # per open #if: False inside Windows-only code, True or None elsewhere
    while i < n:
        c = text[i]
        if c == "\n":
            line_start = True
            i += 1
            continue
        if c in " \t\r\f\v":
            i += 1
            continue
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
            comment = text[i:end]
            if "clang-format off" in comment:
                skipping = True
            elif "clang-format on" in comment:
                skipping = False
            i = end
            continue
        if text.startswith("/*", i):
            end = text.find("*/", i + 2)
            i = n if end < 0 else end + 2
            continue
        if line_start and c == "#":
            # A preprocessor line, with its continuations. Code only Windows compiles (under
            # "#ifdef _WIN32", or the "#else" of "#ifndef _WIN32") yields nothing.
            start = i
            while i < n and text[i] != "\n":
                if text[i] == "\\" and i + 1 < n and text[i + 1] == "\n":
                    i += 1
                i += 1
            word, _, rest = text[start + 1 : i].strip().partition(" ")
            rest = rest.split("//")[0].strip()
            if word in ("if", "ifdef", "ifndef"):
                windows = rest in ("_WIN32", "defined(_WIN32)", "defined _WIN32")
                not_windows = rest in ("!defined(_WIN32)", "!defined _WIN32")
                if (word == "ifndef" and rest == "_WIN32") or (word == "if" and not_windows):
                    conditions.append(True)
                elif (word == "ifdef" and rest == "_WIN32") or (word == "if" and windows):
                    conditions.append(False)
                else:
                    conditions.append(None)
            elif word == "else" and conditions and conditions[-1] is not None:
                conditions[-1] = not conditions[-1]
            elif word == "elif" and conditions:
                conditions[-1] = None
            elif word == "endif" and conditions:
                conditions.pop()
            continue
        line_start = False
        start = i
        m = re.compile(r'(?:u8|u|U|L)?R"([^(\s]*)\(').match(text, i)
        if m:
            close = ")" + m.group(1) + '"'
            end = text.find(close, m.end())
            i = n if end < 0 else end + len(close)
            kind = "string"
        elif re.compile(r"(?:u8|u|U|L)?[\"']").match(text, i):
            while text[i] not in "\"'":
                i += 1
            quote = text[i]
            i += 1
            while i < n and text[i] != quote:
                i += 2 if text[i] == "\\" else 1
            i += 1
            kind = "string"
        elif c.isalpha() or c == "_":
            while i < n and (text[i].isalnum() or text[i] == "_"):
                i += 1
            kind = "name"
        elif c.isdigit() or (c == "." and i + 1 < n and text[i + 1].isdigit()):
            i += 1
            while i < n:
                if text[i] in "eEpP" and i + 1 < n and text[i + 1] in "+-":
                    i += 2
                elif text[i].isalnum() or text[i] in "_.'":
                    i += 1
                else:
                    break
            kind = "number"
        else:
            for p in PUNCTUATORS:
                if text.startswith(p, i):
                    i += len(p)
                    break
            else:
                i += 1
            kind = "punct"
        if not skipping and False not in conditions:
            tokens.append(Token(kind, text[start:i], start, i))
    return tokens


INTEGER = re.compile(r"^(0[xX][0-9a-fA-F]+|[0-9]+)([uUlL]*)$")


def integer_value(literal):
    m = INTEGER.match(literal.replace("'", ""))
    if not m:
        return None
    digits, suffix = m.groups()
    if digits.lower().startswith("0x"):
        return int(digits, 16), True, suffix
    if len(digits) > 1 and digits.startswith("0"):
        return None  # octal: leave alone
    return int(digits), False, suffix


def spaced(text, token):
    """Whether the token stands between blanks, as clang-format writes binary operators."""
    return (
        token.start > 0
        and text[token.start - 1] in " \t\n"
        and token.end < len(text)
        and text[token.end] in " \t\r\n"
    )


def matching_paren(tokens, open_index):
    depth = 0
    for k in range(open_index, len(tokens)):
        if tokens[k].text == "(":
            depth += 1
        elif tokens[k].text == ")":
            depth -= 1
            if depth == 0:
                return k
    return None


class Mutant:
    def __init__(self, path, text, op, start, end, replacement):
        self.path, self.op = path, op
        self.start, self.end, self.replacement = start, end, replacement
        self.original = text[start:end]
        self.line = text.count("\n", 0, start) + 1
        line_begin = text.rfind("\n", 0, start) + 1
        line_end = text.find("\n", end)
        line_end = len(text) if line_end < 0 else line_end
        self.source_line = text[line_begin:line_end].strip()
        self.mutated_line = (text[line_begin:start] + replacement + text[end:line_end]).strip() or "(line deleted)"
        # An id that survives edits elsewhere in the file: what changes, on which line text, and
        # which occurrence of that line text it is.
        head = text[line_begin:start]
        line_text = text[line_begin:line_end]
        occurrence = text.count(line_text, 0, line_begin)
        key = "\0".join([path, op, line_text.strip(), str(len(head)), self.original, replacement,
                         str(occurrence)])
        self.id = hashlib.sha1(key.encode()).hexdigest()[:10]
        self.status = None
        self.killer = None

    def apply(self, text):
        return text[: self.start] + self.replacement + text[self.end :]

    def short(self, limit=60):
        def cut(s):
            s = " ".join(s.split())
            return s if len(s) <= limit else s[: limit - 3] + "..."

        return "%s -> %s" % (cut(self.original) or "(nothing)", cut(self.replacement) or "(nothing)")


RELATIONAL = {"==": ["!="], "!=": ["=="], "<=": ["<"], ">=": [">"], "<": ["<="], ">": [">="]}


def mutants_of(path, text):
    tokens = tokenize(text)
    found = []

    def add(op, start, end, replacement):
        found.append(Mutant(path, text, op, start, end, replacement))

    for k, t in enumerate(tokens):
        if t.kind == "punct":
            if t.text in ("==", "!=", "<=", ">="):
                for r in RELATIONAL[t.text]:
                    add("REL", t.start, t.end, r)
            elif t.text in ("<", ">") and spaced(text, t):
                for r in RELATIONAL[t.text]:
                    add("REL", t.start, t.end, r)
            elif t.text in ("&&", "||") and spaced(text, t):
                add("LOGIC", t.start, t.end, "||" if t.text == "&&" else "&&")
            elif t.text in ("+", "-") and spaced(text, t):
                add("ARITH", t.start, t.end, "-" if t.text == "+" else "+")
            elif t.text in ("+=", "-="):
                add("ARITH", t.start, t.end, "-=" if t.text == "+=" else "+=")
        elif t.kind == "number":
            parsed = integer_value(t.text)
            if parsed is None:
                continue
            value, hexadecimal, suffix = parsed
            for v in (value + 1, value - 1):
                if v < 0:
                    continue
                literal = ("0x%X" % v if hexadecimal else str(v)) + suffix
                add("CONST", t.start, t.end, literal)
        elif t.kind == "name" and t.text in ("true", "false"):
            add("BOOL", t.start, t.end, "false" if t.text == "true" else "true")
        elif t.kind == "name" and t.text == "if" and k + 1 < len(tokens) and tokens[k + 1].text == "(":
            close = matching_paren(tokens, k + 1)
            if close is None:
                continue
            inner_start, inner_end = tokens[k + 1].end, tokens[close].start
            condition = text[inner_start:inner_end]
            if tokens[k + 2].text == "constexpr" or any(u.text in (";", "=") for u in tokens[k + 2 : close]):
                continue  # "if constexpr", initialisers and declarations cannot be negated
            add("NEGATE", inner_start, inner_end, "!(%s)" % condition)
            # An early exit guarded by the condition: the whole statement goes.
            if close + 1 < len(tokens) and tokens[close + 1].text in ("return", "continue", "break"):
                semi = close + 1
                while semi < len(tokens) and tokens[semi].text not in (";", "{", "}"):
                    semi += 1
                if semi < len(tokens) and tokens[semi].text == ";":
                    is_else = k > 0 and tokens[k - 1].text == "else"
                    if not is_else:
                        add("GUARD", t.start, tokens[semi].end, "")
    # The same change reached twice (overlapping rules) runs once.
    unique, seen = [], set()
    for m in found:
        if (m.start, m.end, m.replacement) not in seen:
            seen.add((m.start, m.end, m.replacement))
            unique.append(m)
    return unique


# ---------------------------------------------------------------------------------------------
# The native tree


def run(command, cwd, timeout=None, capture=True):
    return subprocess.run(
        command,
        cwd=cwd,
        timeout=timeout,
        stdout=subprocess.PIPE if capture else subprocess.DEVNULL,
        stderr=subprocess.STDOUT if capture else subprocess.DEVNULL,
        text=True,
    )


class NativeTest:
    def __init__(self, name, command, workdir, target):
        self.name, self.command, self.workdir, self.target = name, command, workdir, target
        self.sources = set()
        self.seconds = 0.0

    def run(self, timeout):
        """True when every test case passed within the timeout."""
        try:
            result = subprocess.run(
                self.command,
                cwd=self.workdir,
                timeout=timeout,
                stdout=subprocess.DEVNULL,
                stderr=subprocess.DEVNULL,
                start_new_session=True,
            )
        except subprocess.TimeoutExpired:
            return False
        return result.returncode == 0


def configure(src, tree):
    if os.path.isfile(os.path.join(tree, "CMakeCache.txt")):
        return
    if not shutil.which("ninja"):
        sys.exit("mutate: ninja is needed to find what each test is built from")
    result = run(
        ["cmake", "-S", src, "-B", tree, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release", "-DMIREPAN_BENCH=OFF"],
        cwd=src,
    )
    if result.returncode != 0:
        sys.exit("mutate: configuring the native tree failed:\n" + result.stdout)


def discover_tests(tree):
    """The native test executables of the tree, each with the sources it is built from."""
    listing = subprocess.run(["ctest", "--show-only=json-v1"], cwd=tree, stdout=subprocess.PIPE,
                             stderr=subprocess.DEVNULL, text=True)
    data = json.loads(listing.stdout)
    tests = []
    for t in data.get("tests", []):
        command = t.get("command")
        if not command:
            continue
        workdir = tree
        for prop in t.get("properties", []):
            if prop.get("name") == "WORKING_DIRECTORY":
                workdir = prop["value"]
        target = os.path.relpath(command[0], tree)
        inputs = run(["ninja", "-t", "inputs", target], cwd=tree)
        if inputs.returncode != 0:
            continue  # not a target of this tree
        test = NativeTest(t["name"], command, workdir, target)
        for line in inputs.stdout.split():
            if line.endswith((".cpp", ".cc", ".c")):
                test.sources.add(os.path.realpath(os.path.join(tree, line)))
        tests.append(test)
    return tests


def build(tree, targets, jobs):
    result = run(["ninja", "-j", str(jobs)] + targets, cwd=tree)
    return result.returncode == 0, result.stdout


# ---------------------------------------------------------------------------------------------


def source_files(src, folders):
    files = []
    for folder in folders:
        root = os.path.join(src, os.path.normpath(folder))
        if not os.path.isdir(root):
            sys.exit("mutate: no folder %s" % folder)
        for dirpath, _, names in os.walk(root):
            for name in sorted(names):
                if name.endswith(".cpp") and not name.endswith(SKIPPED_SUFFIXES):
                    files.append(os.path.join(dirpath, name))
    return sorted(files)


def read_equivalents(path):
    ids = set()
    if path:
        with open(path) as f:
            for line in f:
                word = line.split("#", 1)[0].strip()
                if word:
                    ids.add(word.split()[0])
    return ids


def main():
    parser = argparse.ArgumentParser(
        prog="tools/mutate.sh",
        description=__doc__.split("\n\n")[0],
        formatter_class=argparse.RawDescriptionHelpFormatter,
    )
    parser.add_argument("folders", nargs="+", metavar="FOLDER", help="source folders, relative to the repository")
    parser.add_argument("--max", type=int, default=80, help="mutants to run (default 80)")
    parser.add_argument("--seed", type=int, default=1, help="seed of the sample (default 1)")
    parser.add_argument("--work", default=os.path.join(REPO, "build", "mut"),
                        help="scratch folder for the copy and its tree (default build/mut)")
    parser.add_argument("--jobs", type=int, default=1, help="build jobs (default 1)")
    parser.add_argument("--timeout", type=float, default=0,
                        help="seconds a test executable may run on a mutant (default: 10 times its "
                             "unmutated time, at least 20)")
    parser.add_argument("--equivalent", metavar="FILE", help="ids of known equivalent mutants")
    parser.add_argument("--list", action="store_true", help="only list the sampled mutants")
    parser.add_argument("--id", action="append", default=[], metavar="ID",
                        help="run the mutants with these ids (repeatable) instead of a sample")
    args = parser.parse_args()

    started = time.time()
    work = os.path.abspath(args.work)
    src, tree = os.path.join(work, "src"), os.path.join(work, "native")
    if os.path.commonpath([work, REPO]) == REPO and not os.path.relpath(work, REPO).startswith("build"):
        sys.exit("mutate: the scratch folder must lie outside the sources (under build/ or elsewhere)")
    os.makedirs(src, exist_ok=True)
    copied = sync_copy(REPO, src)
    print("copy: %s (%d files updated)" % (src, copied), flush=True)

    files = source_files(src, args.folders)
    candidates = []
    for path in files:
        with open(path, encoding="utf-8") as f:
            text = f.read()
        candidates.extend(mutants_of(os.path.relpath(path, src), text))
    rng = random.Random(args.seed)
    sample = sorted(candidates, key=lambda m: (m.path, m.start, m.replacement))
    if args.id:
        wanted = {i for word in args.id for i in word.split(",")}
        sample = [m for m in sample if m.id in wanted]
        print("mutants: %d of the %d ids asked for" % (len(sample), len(wanted)))
    else:
        rng.shuffle(sample)
        sample = sorted(sample[: args.max], key=lambda m: (m.path, m.start, m.replacement))
        print("mutants: %d sampled of %d in %d files (seed %d)" % (len(sample), len(candidates), len(files),
                                                                   args.seed))
    if args.list:
        for m in sample:
            print("%s  %s:%d  %-6s %s" % (m.id, m.path, m.line, m.op, m.short()))
        return 0

    configure(src, tree)
    tests = discover_tests(tree)
    by_file = {}
    for m in sample:
        full = os.path.realpath(os.path.join(src, m.path))
        by_file.setdefault(m.path, [t for t in tests if full in t.sources])
    untested = sorted(p for p, ts in by_file.items() if not ts)
    if untested:
        print("no native test builds from: %s (their mutants are left out)" % ", ".join(untested))
        sample = [m for m in sample if by_file[m.path]]
    # The unmutated sources must build and pass, or a test cannot judge a mutant: a test that does
    # not (someone's work in progress elsewhere) is left out, and said so.
    needed = sorted({t for ts in by_file.values() for t in ts}, key=lambda t: t.target)
    usable = set()
    for t in needed:
        ok, log = build(tree, [t.target], args.jobs)
        if not ok:
            print("left out: %s does not build on the unmutated sources" % t.name)
            continue
        t0 = time.time()
        if not t.run(timeout=600):
            print("left out: %s fails on the unmutated sources" % t.name)
            continue
        t.seconds = time.time() - t0
        usable.add(t)
    for path in by_file:
        by_file[path] = [t for t in by_file[path] if t in usable]
    sample = [m for m in sample if by_file[m.path]]
    if not sample:
        sys.exit("mutate: no test builds and passes on the unmutated sources")
    print("tests: " + ", ".join("%s %.1fs" % (t.name, t.seconds) for t in needed if t in usable), flush=True)

    # Within one mutant the tests that belong to the mutated folder go first, then the quickest.
    def order(m):
        folder = m.path.split(os.sep)[0]
        return sorted(by_file[m.path],
                      key=lambda t: (os.sep + folder + os.sep not in os.sep + t.target, t.seconds))

    current = {"path": None, "text": None}

    def restore(*_):
        if current["path"]:
            with open(current["path"], "w", encoding="utf-8") as f:
                f.write(current["text"])
            current["path"] = None
        if _:
            sys.exit(130)

    signal.signal(signal.SIGINT, restore)
    signal.signal(signal.SIGTERM, restore)

    for index, m in enumerate(sample, 1):
        full = os.path.join(src, m.path)
        with open(full, encoding="utf-8") as f:
            original = f.read()
        current.update(path=full, text=original)
        try:
            with open(full, "w", encoding="utf-8") as f:
                f.write(m.apply(original))
            m.status = "survived"
            for t in order(m):
                ok, _ = build(tree, [t.target], args.jobs)
                if not ok:
                    m.status = "no build"
                    break
                timeout = args.timeout or max(20.0, 10 * t.seconds)
                if not t.run(timeout):
                    m.status, m.killer = "killed", t.name
                    break
        finally:
            restore()
        print("[%d/%d] %-8s %s:%d %s %s%s" % (index, len(sample), m.status, m.path, m.line, m.op, m.short(40),
                                             " (%s)" % m.killer if m.killer else ""), flush=True)

    equivalents = read_equivalents(args.equivalent)
    survivors = [m for m in sample if m.status == "survived" and m.id not in equivalents]
    excluded = [m for m in sample if m.status == "survived" and m.id in equivalents]
    broken = [m for m in sample if m.status == "no build"]
    killed = [m for m in sample if m.status == "killed"]

    def table(title, rows):
        if not rows:
            return
        print("\n%s (%d):" % (title, len(rows)))
        for m in rows:
            print("  %-28s %-6s %s   [%s]" % ("%s:%d" % (m.path, m.line), m.op, m.short(), m.id))
            print("  %-28s        %s" % ("", m.mutated_line))

    table("Surviving mutants", survivors)
    table("Surviving mutants listed as equivalent", excluded)
    table("Mutants that do not compile", broken)
    judged = len(killed) + len(survivors)
    print("\nrun time: %.0f s" % (time.time() - started))
    if excluded:
        print("%d equivalent mutants left out" % len(excluded))
    print("%d of %d mutants killed (%.1f%%)" % (len(killed), judged, 100.0 * len(killed) / judged if judged else 0))
    return 0 if not survivors else 1


if __name__ == "__main__":
    sys.exit(main())
