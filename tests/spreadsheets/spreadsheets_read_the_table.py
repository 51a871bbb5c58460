"""The table as spreadsheets take it, in the locale this runs in (LC_ALL):
polynomial 2 from -10 step 0,5 to 10 is computed in the real dialog and
copied with Ctrl+A, Ctrl+C; the text flavour must be the companion's table
byte for byte; LibreOffice Calc pastes the clipboard as a user does (Ctrl+V,
then OK in its import options); Gnumeric reads the table flavour with the
reader its paste uses; both must hold every number as a number. Then
LibreOffice and Gnumeric read the companion's --csv.

With --wine the dialog is the Windows program under Wine, whose clipboard
Wine hands on to X11: the table flavour as text/html (its fragment), the
text with LF line breaks.

Runs on an X display of its own, with Debian's python (for LibreOffice's uno):
    xvfb-run ... /usr/bin/python3 spreadsheets_read_the_table.py \
        [--wine] WERTOMAT_TABLE WORK_DIR PROGRAM [ARGUMENTS]
WERTOMAT_TABLE is a command line: under Wine, "wine-run wertomat-table.exe".
"""
import gzip
import locale
import os
import re
import shlex
import subprocess
import sys
import threading
import time
import xml.etree.ElementTree as ElementTree

import uno
from com.sun.star.beans import PropertyValue

PROBLEMS = []
TOLERANCE = 1e-9


def expect(condition, problem):
    if not condition:
        PROBLEMS.append(problem)


def until(condition, seconds=30):
    deadline = time.time() + seconds
    while time.time() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(0.2)
    return None


def windows_named(title):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                           capture_output=True, text=True, check=False)
    return found.stdout.split()


def visible_windows():
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "."],
                           capture_output=True, text=True, check=False)
    return set(found.stdout.split())


def clipboard(target):
    return subprocess.run(["xclip", "-selection", "clipboard", "-t", target, "-o"],
                          capture_output=True, check=False, timeout=60).stdout


def keys(*names):
    subprocess.run(["xdotool", "key", "--delay", "50", *names], check=True)


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "30", "--", text], check=True)


def copy_from_the_dialog(command):
    """Types the range, picks the third polynomial (2), computes, and copies
    the whole table; returns the process."""
    dialog = subprocess.Popen(command)
    window = until(lambda: windows_named("Wertomat"), 60)
    if not window:
        sys.exit("spreadsheets: no window named Wertomat")
    subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], check=False)
    time.sleep(1)  # the first field takes the focus once the dialog is shown
    keys("ctrl+a")
    type_text("-10")
    keys("Tab")
    type_text("0,5")
    keys("Tab")
    type_text("10")
    keys("Tab", "Down", "Down", "Tab", "Tab", "space")  # the radio group, results, Berechnen
    time.sleep(1)
    keys("shift+Tab", "ctrl+a", "ctrl+c")
    return dialog


def cells_of(table_text):
    """The expected cells from the companion's table: header, then floats."""
    lines = table_text.decode("ascii").split("\r\n")
    rows = [line.split("\t") for line in lines[1:] if line]
    return [["x", "y"]] + [[float(x), float(y)] for x, y in rows]


def compare(reader, got, expected):
    """`got`: rows of cells, each a str (text) or float (number)."""
    expect(len(got) == len(expected),
           f"{reader}: {len(got)} rows instead of {len(expected)}")
    for number, (got_row, expected_row) in enumerate(zip(got, expected)):
        for got_cell, expected_cell in zip(got_row, expected_row):
            same = (got_cell == expected_cell if isinstance(expected_cell, str) else
                    isinstance(got_cell, float) and abs(got_cell - expected_cell) <= TOLERANCE)
            if not same:
                PROBLEMS.append(f"{reader}: row {number + 1} holds {got_row!r}, "
                                f"not {expected_row!r}")
                return


def shown_as_numbers(reader, shown, expected, decimal_mark):
    """What the cells show, read back in the user's convention, is the value."""
    for got_row, expected_row in zip(shown[1:], expected[1:]):
        for text, value in zip(got_row, expected_row):
            plain = text.replace("\u2212", "-").replace(decimal_mark, ".")
            if not re.fullmatch(r"-?\d+(\.\d+)?", plain) or abs(float(plain) - value) > TOLERANCE:
                PROBLEMS.append(f"{reader}: shows {text!r} for {value}")
                return


class Calc:
    """LibreOffice on this display, driven over its uno pipe."""

    def __init__(self, work_dir):
        self.pipe = f"wertomat_spreadsheets_{os.getpid()}"
        profile = uno.systemPathToFileUrl(os.path.join(work_dir, "libreoffice-profile"))
        self.process = subprocess.Popen(
            ["soffice", "--norestore", "--nologo", "--nodefault", f"-env:UserInstallation={profile}",
             f"--accept=pipe,name={self.pipe};urp;"],
            env={**os.environ, "SAL_USE_VCLPLUGIN": "gen"},
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        self.context = until(lambda: self._connect(resolver), 120)
        if self.context is None:
            sys.exit("spreadsheets: LibreOffice did not start")
        self.desktop = self.context.ServiceManager.createInstanceWithContext(
            "com.sun.star.frame.Desktop", self.context)

    def _connect(self, resolver):
        try:
            return resolver.resolve(f"uno:pipe,name={self.pipe};urp;StarOffice.ComponentContext")
        except Exception:  # not listening yet
            return None

    def paste(self):
        """Ctrl+V into A1 of a new sheet; OK in the dialog it asks: import
        options for a table, the text import for text alone."""
        document = self.desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, ())
        dispatcher = self.context.ServiceManager.createInstanceWithContext(
            "com.sun.star.frame.DispatchHelper", self.context)
        pasting = threading.Thread(target=dispatcher.executeDispatch,
                                   args=(document.CurrentController.Frame, ".uno:Paste", "", 0, ()))
        # The dialog is a window the paste opens, whatever the language of
        # LibreOffice's user interface names it ("Import Options",
        # "Importoptionen"): each new window is given Return (OK) until the
        # paste is done, so that one not yet ready for keys is asked again.
        before = visible_windows()
        pasting.start()
        deadline = time.time() + 120
        while pasting.is_alive() and time.time() < deadline:
            for window in sorted(visible_windows() - before):
                subprocess.run(["xdotool", "windowfocus", "--sync", window], check=False)
                keys("Return")
            pasting.join(1)
        return self.cells(document)

    def open_csv(self, path, separator, language):
        filter_options = f"{ord(separator)},34,76,1,,{language},false,true"
        properties = tuple(PropertyValue(Name=name, Value=value) for name, value in [
            ("FilterName", "Text - txt - csv (StarCalc)"), ("FilterOptions", filter_options),
            ("Hidden", True)])
        document = self.desktop.loadComponentFromURL(uno.systemPathToFileUrl(path), "_blank", 0,
                                                     properties)
        return self.cells(document)

    @staticmethod
    def cells(document):
        """Each cell as its value (float) or text, and as shown."""
        sheet = document.Sheets.getByIndex(0)
        cursor = sheet.createCursor()
        cursor.gotoEndOfUsedArea(False)
        end = cursor.RangeAddress
        values, shown = [], []
        data = sheet.getCellRangeByPosition(0, 0, end.EndColumn, end.EndRow)
        for row in range(end.EndRow + 1):
            values.append([])
            shown.append([])
            for column in range(end.EndColumn + 1):
                cell = data.getCellByPosition(column, row)
                is_number = cell.Type.value == "VALUE"
                values[-1].append(cell.Value if is_number else cell.String)
                shown[-1].append(cell.String)
        document.close(True)
        return values, shown

    def close(self):
        try:
            self.desktop.terminate()
        except Exception:  # the bridge goes with the process
            pass
        try:
            self.process.wait(30)
        except subprocess.TimeoutExpired:
            self.process.kill()


def gnumeric_reads(path, importer=None):
    """Gnumeric's cells of `path` through ssconvert: floats and texts."""
    saved = path + ".gnumeric"
    command = ["ssconvert"] + ([f"--import-type={importer}"] if importer else []) + [path, saved]
    if subprocess.run(command, check=False, capture_output=True).returncode != 0:
        return [f"ssconvert could not read {os.path.basename(path)}"]
    with gzip.open(saved) as file:
        tree = ElementTree.parse(file)
    cells = {}
    for cell in tree.iter("{http://www.gnumeric.org/v10.dtd}Cell"):
        value = float(cell.text) if cell.get("ValueType") == "40" else cell.text
        cells[(int(cell.get("Row")), int(cell.get("Col")))] = value
    rows = 1 + max((row for row, _ in cells), default=-1)
    columns = 1 + max((column for _, column in cells), default=-1)
    return [[cells.get((row, column)) for column in range(columns)] for row in range(rows)]


def main():
    wine = sys.argv[1] == "--wine"
    table_command, work_dir, *program = sys.argv[1 + wine:]
    table_tool = shlex.split(table_command)
    os.makedirs(work_dir, exist_ok=True)
    locale.setlocale(locale.LC_ALL, "")
    decimal_mark = locale.localeconv()["decimal_point"]
    place = os.environ.get("LC_ALL", "?")
    table = subprocess.run(table_tool + ["-10", "0.5", "10", "2"], capture_output=True,
                           check=True).stdout
    expected = cells_of(table)
    if wine:
        place += " from Wine"

    dialog = copy_from_the_dialog(program)
    targets = until(lambda: b"text/html" in clipboard("TARGETS"), 10)
    expect(targets, f"no table flavour offered: {clipboard('TARGETS')!r}")
    expect(clipboard("UTF8_STRING") == (table.replace(b"\r\n", b"\n") if wine else table),
           "the copied text is not the companion's table")
    copied_table = clipboard("text/html")
    session = None
    if wine:  # the program ends; what it copied stays (WM_RENDERALLFORMATS)
        session = subprocess.Popen(program[:-1] + ["cmd", "/c", "pause"],
                                   stdin=subprocess.PIPE,  # keeps Wine's session up
                                   stdout=subprocess.DEVNULL)
        keys("Escape")
        expect(dialog.wait(30) == 0, "the program under Wine did not end")
        expect(clipboard("text/html") == copied_table, "the table flavour went with the program")
    html_path = os.path.join(work_dir, "copied.html")
    with open(html_path, "wb") as file:
        file.write(copied_table)

    csv_path = os.path.join(work_dir, "table.csv")
    with open(csv_path, "wb") as file:
        file.write(subprocess.run(table_tool + ["--csv", "-10", "0.5", "10", "2"],
                                  capture_output=True, check=True).stdout)
    comma = decimal_mark == ","
    calc = Calc(work_dir)
    try:
        values, shown = calc.paste()
        compare(f"LibreOffice, pasted in {place}", values, expected)
        shown_as_numbers(f"LibreOffice, pasted in {place}", shown, expected, decimal_mark)
        print(f"spreadsheets: LibreOffice in {place} shows row 2 as {shown[1]}")
        if not wine:
            values, _ = calc.open_csv(csv_path, ";" if comma else ",", 1031 if comma else 1033)
            compare(f"LibreOffice, the companion's CSV in {place}", values, expected)
    finally:
        calc.close()
        dialog.kill()
        if session is not None:
            session.kill()

    compare(f"Gnumeric, the copied table in {place}",
            gnumeric_reads(html_path, "Gnumeric_html:html"), expected)
    if not wine and not comma:  # Gnumeric's reader of CSV files splits at commas and tabs only
        compare(f"Gnumeric, the companion's CSV in {place}", gnumeric_reads(csv_path), expected)

    for problem in PROBLEMS:
        print("spreadsheets:", problem)
    if not PROBLEMS:
        print(f"spreadsheets: LibreOffice and Gnumeric read {len(expected) - 1} rows of numbers "
              f"in {place}")
    sys.exit(1 if PROBLEMS else 0)


if __name__ == "__main__":
    main()
