#!/usr/bin/env python3
"""Checks the include rules between the parts of the tree.

Each folder is a library, and a folder includes only the folders below it:
every quoted include in the parts below must point to a part its own part
may include, no module (a .h with its .cpp) may depend on itself through
others, and no Qt or Windows header may appear outside its backend. Prints
each broken rule and exits 1.

    check_layers.py [source folder]
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
# API, which knows no backend: only its sources reach the seam.
MAY_INCLUDE = {
    "core": {"parallel"},
    "parallel": set(),
    "text": set(),
    "messages": {"core"},
    "windef": set(),
    "resource file": {"text", "windef"},
    "results view": {"text", "parallel"},
    "seam": {"framework", "resource file", "windef"},
    "framework headers": {"text", "resource file", "windef"},
    "framework": {"text", "seam", "resource file", "windef"},
    "qt backend": {"framework", "seam", "text", "resource file", "results view", "windef"},
    "win32 backend": {"framework", "seam", "text", "resource file", "results view",
                      "user locale"},
    "user locale": set(),
    "entry": {"framework"},
    "resources": {"framework"},
    "ui": {"framework", "core", "messages", "resources", "text"},
    "app": {"ui", "framework", "resources"},
    "tools": {"core", "messages", "text", "user locale"},
    "packaging": set(),
}

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


def check(root: Path) -> list[str]:
    problems = []
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
    root = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent)
    problems = check(root)
    for problem in problems:
        print(problem)
    if problems:
        print(f"check_layers: {len(problems)} broken include rule(s); docs/architecture.md lists them")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
