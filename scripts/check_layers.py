#!/usr/bin/env python3
"""Checks the include rules between the parts of the tree.

Each folder is a library, and a folder includes only the folders below it:
every quoted include in the parts below must point to a part its own part
may include, no module (a .h with its .cpp) may depend on itself through
others, no Qt or Windows header may appear outside its backend, and no
source may sit in a folder that is no part. With --links, the table below is
also compared with what the build links (the file CMake writes,
layer-links.txt): a part that may include another must reach a target of it
through its links, and must not link a part it may not include. Prints each
broken rule and exits 1.

    check_layers.py [source folder] [--links BUILD/layer-links.txt]
"""
import re
import sys
from pathlib import Path

# The parts, most specific folder first. framework/platform.h is the seam
# between the framework's API and its backends, a part of its own.
PARTS = [
    ("framework/platform.h", "seam"),
    ("framework/win32/user_locale.h", "user locale"),
    ("framework/win32/user_locale.cpp", "user locale"),
    ("framework/qt/", "qt backend"),
    ("framework/win32/", "win32 backend"),
    ("framework/results_view/", "results view"),
    ("framework/resource_file/", "resource file"),
    ("framework/windef/", "windef"),
    ("framework/dialog_manager/", "dialog manager"),
    ("framework/entry/", "entry"),
    ("framework/", "framework"),
    ("core/", "core"),
    ("parallel/", "parallel"),
    ("text/", "text"),
    ("messages/", "messages"),
    ("resources/", "resources"),
    ("ui/", "ui"),
    ("app/", "app"),
    ("tools/", "tools"),
    ("packaging/", "packaging"),
]

# What each part may include besides itself. The framework's headers are its
# API, which knows no backend: only its sources reach the seam, and a backend
# reaches the API only through the seam.
MAY_INCLUDE = {
    "core": {"parallel"},
    "parallel": set(),
    "text": set(),
    "messages": {"core"},
    "windef": set(),
    "dialog manager": {"resource file", "windef"},
    "resource file": {"text", "windef"},
    "results view": {"text", "parallel"},
    "seam": {"framework", "resource file", "windef"},
    "framework headers": {"text", "resource file", "windef"},
    "framework": {"text", "seam", "resource file", "windef"},
    # A backend reaches the API only through the seam.
    "qt backend": {"seam", "text", "resource file", "results view", "windef", "dialog manager"},
    "win32 backend": {"seam", "text", "resource file", "results view", "user locale",
                      "dialog manager"},
    "user locale": set(),
    "entry": {"framework"},
    "resources": {"framework"},
    "ui": {"framework", "core", "messages", "resources"},
    "app": {"ui", "framework", "resources"},
    "tools": {"core", "messages", "text", "user locale"},
    "packaging": set(),
}

# Folders with sources that are no part of the program: checked elsewhere.
NOT_PARTS = {"tests", "bench", "fuzz", "build", "packaging/icons"}

# Each part's targets as the build names them. The framework's API, its seam
# and its backend are one target, and are compared with the build together.
TARGETS = {
    "core": {"wertomat_core"},
    "parallel": {"wertomat_parallel"},
    "text": {"wertomat_text"},
    "messages": {"wertomat_messages"},
    "windef": {"wertomat_windef"},
    "resource file": {"wertomat_resource_file"},
    "results view": {"wertomat_results_view"},
    "dialog manager": {"wertomat_dialog_manager"},
    "user locale": {"wertomat_user_locale"},
    "framework": {"wertomat_framework"},
    "entry": {"wertomat_framework_main"},
    "resources": {"wertomat_resources", "wertomat_resource_ids"},
    "ui": {"wertomat_ui"},
    "app": {"wertomat_app"},
    "tools": {"wertomat-table", "wertomat_table_units"},
}
IN_THE_FRAMEWORK_TARGET = {"framework headers", "seam", "qt backend", "win32 backend"}

# Qt's headers by their exact case (<queue> is the standard library's);
# Windows' in any case, as the platform's file system takes them.
QT_HEADER = re.compile(r"^(Q[A-Za-z]+|Qt[A-Za-z]+/.*|qpa/.*)$")
WINDOWS_HEADER = re.compile(
    r"^(windows|windowsx|winuser|wingdi|winbase|commctrl|oleacc|ole2|objbase|oleauto|"
    r"olectl|shellapi|uxtheme|richedit)\.h$", re.IGNORECASE)
# Build-time helpers that use the toolkit on the build machine and are never
# linked into a program.
BUILD_HELPERS = {"packaging/icons/export_icons.cpp"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def part_of(path: str):
    for prefix, part in PARTS:
        if path == prefix or (prefix.endswith("/") and path.startswith(prefix)):
            if part == "framework" and path.endswith(".h"):
                return "framework headers"
            return part
    return None


def same_part(part: str) -> str:
    return "framework" if part == "framework headers" else part


def unknown_folders(root: Path) -> list[str]:
    """Folders holding sources that are neither a part nor named as no part:
    their includes would go unchecked."""
    folders = {prefix.rstrip("/") for prefix, _ in PARTS if prefix.endswith("/")}
    problems = []
    for file in sorted(root.rglob("*")):
        if file.suffix not in (".h", ".cpp"):
            continue
        folder = file.parent.relative_to(root).as_posix()
        if (folder not in folders and folder != "." and
                not any(folder == other or folder.startswith(other + "/")
                        for other in NOT_PARTS | {".git"})):
            problems.append(f"{file.relative_to(root).as_posix()}: the folder {folder}/ is no "
                            f"part: name it in scripts/check_layers.py and docs/architecture.md")
    return sorted(set(problems))


def check(root: Path) -> list[str]:
    problems = unknown_folders(root)
    edges: dict[str, set[str]] = {}
    folders = sorted({prefix.split("/")[0] for prefix, _ in PARTS})
    files = sorted(p for folder in folders
                   for p in (root / folder).rglob("*") if p.suffix in (".h", ".cpp"))
    for file in files:
        name = file.relative_to(root).as_posix()
        part = part_of(name)
        module = name.rsplit(".", 1)[0]
        for number, line in enumerate(file.read_text(encoding="utf-8").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            quote, target = match.groups()
            where = f"{name}:{number}"
            if quote == "<":
                is_qt = QT_HEADER.match(target) is not None
                if is_qt or WINDOWS_HEADER.match(target):
                    homes = {"qt backend"} if is_qt else {"win32 backend", "user locale"}
                    if part not in homes and name not in BUILD_HELPERS:
                        problems.append(f"{where}: <{target}> belongs in framework/"
                                        f"{'qt' if is_qt else 'win32'}/ only: "
                                        f"no toolkit header outside its backend")
                continue
            resolved = (target if "/" in target else
                        (file.parent / target).relative_to(root).as_posix())
            target_part = part_of(resolved)
            if target_part is None:
                problems.append(f"{where}: \"{target}\" is outside the program's parts")
                continue
            allowed = MAY_INCLUDE[part] | {same_part(part)}
            if same_part(target_part) not in allowed and target_part != part:
                names = ", ".join(sorted(allowed))
                problems.append(f"{where}: \"{target}\" is {target_part}; {part} may include only {names}")
            edges.setdefault(module, set()).add(resolved.rsplit(".", 1)[0])
    sources = {file.relative_to(root).as_posix().rsplit(".", 1)[0]
               for file in files if file.suffix == ".cpp"}
    problems += cycles(without_header_only_modules(edges, sources))
    return problems


def build_part(part: str) -> str:
    return "framework" if part in IN_THE_FRAMEWORK_TARGET else part


def check_links(links: Path) -> list[str]:
    """The table against the build: `links` has a line per target,
    name|direct links|links passed on to its users ($<LINK_ONLY:> ones are not)."""
    direct, passed = {}, {}
    for line in links.read_text(encoding="utf-8").splitlines():
        name, linked, onward = line.split("|")
        direct[name] = {t for t in linked.split(";") if t}
        passed[name] = {t for t in onward.split(";") if t and not t.startswith("$<")}
    part_of_target = {target: part for part, targets in TARGETS.items() for target in targets}

    def reach(target, seen):
        for onward in passed.get(target, ()):
            if onward not in seen:
                seen.add(onward)
                reach(onward, seen)
        return seen

    problems = []
    for part, targets in TARGETS.items():
        own = sorted(targets & direct.keys())
        if not own:
            continue  # not built on this platform
        may = {build_part(other) for member, allowed in MAY_INCLUDE.items()
               if build_part(member) == part for other in allowed} - {part}
        linked = {t for target in own for t in direct[target]}
        reached = {part_of_target.get(t) for target in linked for t in reach(target, {target})}
        for other in sorted(may):
            if TARGETS[other] & direct.keys() and other not in reached:
                problems.append(f"{part} may include {other}, but its targets "
                                f"({', '.join(own)}) reach none of {other}'s "
                                f"({', '.join(sorted(TARGETS[other]))}): "
                                f"the table and the build disagree")
        for target in sorted(linked):
            other = part_of_target.get(target)
            if other is not None and other != part and other not in may:
                problems.append(f"{part} links {target}, of {other}, which it may not include")
    return problems


def without_header_only_modules(edges, sources):
    """A header without a source of its own belongs to whoever includes it:
    its includes become theirs, so that an internal header of a module is not
    counted as a module that depends back on it."""
    def reach(module, seen):
        for successor in edges.get(module, ()):
            if successor in seen:
                continue
            seen.add(successor)
            if successor not in sources:
                reach(successor, seen)
        return seen

    return {module: {target for target in reach(module, set()) if target in sources}
            for module in edges if module in sources}


def cycles(edges: dict[str, set[str]]) -> list[str]:
    """Modules that reach themselves again, one report per strongly connected group."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for successor in sorted(edges.get(node, ())):
            if successor == node:
                continue
            if successor not in index:
                visit(successor)
                low[node] = min(low[node], low[successor])
            elif successor in on_stack:
                low[node] = min(low[node], index[successor])
        if low[node] == index[node]:
            group = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                group.append(member)
                if member == node:
                    break
            if len(group) > 1:
                found.append("include cycle: " + " <-> ".join(sorted(group)) +
                             ": modules depend on each other; one must not know the other")

    for node in sorted(edges):
        if node not in index:
            visit(node)
    return found


def main() -> int:
    arguments = sys.argv[1:]
    links = None
    if "--links" in arguments:
        at = arguments.index("--links")
        links = Path(arguments[at + 1])
        del arguments[at:at + 2]
    root = Path(arguments[0] if arguments else Path(__file__).resolve().parent.parent)
    problems = check(root) + (check_links(links) if links else [])
    for problem in problems:
        print(problem)
    if problems:
        print(f"check_layers: {len(problems)} broken include rule(s); docs/architecture.md lists them")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
