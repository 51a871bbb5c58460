"""The table as spreadsheets take it when a user pastes it: polynomial 2
from -10 step 0,5 to 10 is computed in the real dialog, run in the locale
this runs in (LC_ALL), and copied with Ctrl+A, Ctrl+C; the text flavour must
be the companion's table byte for byte. Then LibreOffice Calc and Gnumeric,
each in the locale --sheets names (LC_ALL and LANG: the user interface too),
get Ctrl+V in their own windows, and what each sheet holds and shows is read
back: Calc's over its uno pipe, Gnumeric's through its own copy (Ctrl+C,
read from the clipboard). Every cell must be the table's number. With --cut
the same again for a selection that cuts numbers: the sheets must hold the
characters selected, never a whole number. Then LibreOffice and Gnumeric
read the companion's --csv.

With --wine the dialog is the Windows program under Wine, whose clipboard
Wine hands on to X11: the table flavour as text/html (its fragment), the
text with LF line breaks. The program ends before the paste.

Runs on an X display of its own, with Debian's python (for LibreOffice's uno):
    xvfb-run ... /usr/bin/python3 spreadsheets_read_the_table.py \
        [--wine] [--cut] [--sheets LOCALE] WERTOMAT_TABLE WORK_DIR PROGRAM [ARGUMENTS]
WERTOMAT_TABLE is a command line: under Wine, "wine-run wertomat-table.exe".
"""
import gzip
import locale
import os
import re
import shlex
import subprocess
import sys
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


def window_name(window):
    return subprocess.run(["xdotool", "getwindowname", window], capture_output=True, text=True,
                          check=False).stdout.strip()


def focus(window):
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=False)
    time.sleep(0.3)


def copy_from_the_dialog(command, xa="-10", xsw="0,5", xe="10", function=2, seconds=1):
    """Types the range, picks the polynomial, computes, waits `seconds` and
    copies the whole table; returns the process and its window."""
    dialog = subprocess.Popen(command)
    window = until(lambda: windows_named("Wertomat"), 60)
    if not window:
        sys.exit("spreadsheets: no window named Wertomat")
    focus(window[0])
    time.sleep(1)  # the first field takes the focus once the dialog is shown
    keys("ctrl+a")
    type_text(xa)
    keys("Tab")
    type_text(xsw)
    keys("Tab")
    type_text(xe)
    # the radio group, the results, Berechnen
    keys("Tab", *["Down"] * function, "Tab", "Tab", "space")
    time.sleep(seconds)
    keys("shift+Tab", "ctrl+a", "ctrl+c")
    return dialog, window[0]


# From the "." of the first row's x to the last digit but one of the second
# row's y: one caret step over each character and over the line break.
CUT_TEXT = b".0000\t  533.0000\r\n   -9.5000\t  459.787"
CUT_CELLS = [[0.0, 533.0], [-9.5, 459.787]]


def copy_a_cut_selection(window):
    focus(window)
    keys("ctrl+Home", "Down", *["Right"] * 5, *["shift+Right"] * 37, "ctrl+c")
    copied = until(lambda: clipboard("UTF8_STRING") == CUT_TEXT, 10)
    expect(copied, f"the cut selection copied {clipboard('UTF8_STRING')!r}, not {CUT_TEXT!r}")


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
        same_row = len(got_row) == len(expected_row)
        for got_cell, expected_cell in zip(got_row, expected_row):
            same_row = same_row and (
                got_cell == expected_cell if isinstance(expected_cell, str) else
                isinstance(got_cell, float) and abs(got_cell - expected_cell) <= TOLERANCE)
        if not same_row:
            PROBLEMS.append(f"{reader}: row {number + 1} holds {got_row!r}, "
                            f"not {expected_row!r}")
            return


def shown_as_numbers(reader, shown, expected, decimal_mark, decimals=None):
    """What the cells show, read back in the sheet's convention, is the value;
    with `decimals`, shown with that many."""
    for got_row, expected_row in zip(shown[1:], expected[1:]):
        for text, value in zip(got_row, expected_row):
            plain = text.replace("\u2212", "-").replace(decimal_mark, ".")
            places = r"\d+" if decimals is None else r"\d{%d}" % decimals
            if (not re.fullmatch(r"-?\d+(\.%s)?" % places, plain) or
                    (decimals is not None and "." not in plain) or
                    abs(float(plain) - value) > TOLERANCE):
                PROBLEMS.append(f"{reader}: shows {text!r} for {value}")
                return


def sheet_environment(place):
    environment = {key: value for key, value in os.environ.items() if key != "LANGUAGE"}
    environment.update(LC_ALL=place, LANG=place)
    return environment


def answer_new_windows(known, done, seconds):
    """Return (OK) to each window that is not in `known`, again and again
    until `done()`: a dialog not ready for keys is asked once more. Whatever
    the language of the program's user interface names it."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        if done():
            return True
        for window in sorted(visible_windows() - known):
            focus(window)
            keys("Return")
        time.sleep(0.5)
    return done()


class Calc:
    """LibreOffice on this display, driven over its uno pipe."""

    def __init__(self, work_dir, place):
        self.pipe = f"wertomat_spreadsheets_{os.getpid()}"
        profile = uno.systemPathToFileUrl(
            os.path.join(work_dir, f"libreoffice-profile-{place}"))
        self.process = subprocess.Popen(
            ["soffice", "--norestore", "--nologo", "--nodefault", f"-env:UserInstallation={profile}",
             f"--accept=pipe,name={self.pipe};urp;"],
            env={**sheet_environment(place), "SAL_USE_VCLPLUGIN": "gen"},
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

    def new_sheet(self):
        """A new sheet's document and its window, focused (None if none shows)."""
        before = visible_windows()
        document = self.desktop.loadComponentFromURL("private:factory/scalc", "_blank", 0, ())
        window = until(lambda: sorted(w for w in visible_windows() - before
                                      if "Calc" in window_name(w)), 30)
        if window:
            focus(window[0])
        return document, window[0] if window else None

    def paste(self, rows):
        """Ctrl+V into A1 of a new sheet's window; OK in the dialog the paste
        opens (import options for a table, the text import for text alone).
        Returns the cells once `rows` rows are there, or after two minutes."""
        document, window = self.new_sheet()
        if window is None:
            return [["no window of LibreOffice Calc"]], []
        known = visible_windows()
        keys("ctrl+Home", "ctrl+v")
        answer_new_windows(known, lambda: self.used_rows(document) >= rows, 120)
        return self.cells(document)

    @staticmethod
    def used_rows(document):
        cursor = document.Sheets.getByIndex(0).createCursor()
        cursor.gotoEndOfUsedArea(False)
        return cursor.RangeAddress.EndRow + 1

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


GNUMERIC = "{http://www.gnumeric.org/v10.dtd}"


def start_gnumeric(place):
    """Gnumeric in `place` with a new workbook: its process and its window,
    focused (None if none shows)."""
    before = visible_windows()
    process = subprocess.Popen(["gnumeric", "--no-splash"], env=sheet_environment(place),
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    window = until(lambda: sorted(w for w in visible_windows() - before
                                  if window_name(w).endswith("Gnumeric")), 60)
    if window:
        focus(window[0])
    return process, window[0] if window else None


def gnumeric_cells(document):
    """The cells of a Gnumeric document by (row, column): floats and texts."""
    return {(int(cell.get("Row")), int(cell.get("Col"))):
            float(cell.text) if cell.get("ValueType") == "40" else cell.text
            for cell in document.iter(GNUMERIC + "Cell")}


def gnumeric_pastes(place):
    """Ctrl+V into A1 of a new Gnumeric in `place`; the cells as Gnumeric's
    own copy of them gives them: values from its clipboard document, what
    they show from its text."""
    process, window = start_gnumeric(place)
    try:
        if window is None:
            return [["Gnumeric did not start"]], []
        keys("ctrl+Home", "ctrl+v")
        # A changed workbook's title starts with "*".
        if not until(lambda: window_name(window).startswith("*"), 60):
            return [["Gnumeric pasted nothing"]], []
        keys("ctrl+Home", "shift+ctrl+End", "ctrl+c")
        if not until(lambda: b"Biff8" in clipboard("TARGETS"), 30):
            return [["Gnumeric's copy of the pasted cells never came"]], []
        document = ElementTree.fromstring(clipboard("application/x-gnumeric"))
        shown = [line.split("\t") for line in
                 clipboard("UTF8_STRING").decode("utf-8").rstrip("\n").split("\n")]
    finally:
        process.kill()
        process.wait()
    cells = gnumeric_cells(document)
    rows = int(document.get("Rows"))
    columns = int(document.get("Cols"))
    return [[cells.get((row, column)) for column in range(columns)]
            for row in range(rows)], shown


def gnumeric_reads(path):
    """Gnumeric's cells of the file `path` through ssconvert: floats and texts."""
    saved = path + ".gnumeric"
    if subprocess.run(["ssconvert", path, saved], check=False,
                      capture_output=True).returncode != 0:
        return [f"ssconvert could not read {os.path.basename(path)}"]
    with gzip.open(saved) as file:
        cells = gnumeric_cells(ElementTree.parse(file))
    rows = 1 + max((row for row, _ in cells), default=-1)
    columns = 1 + max((column for _, column in cells), default=-1)
    return [[cells.get((row, column)) for column in range(columns)] for row in range(rows)]


def decimal_mark_of(place):
    locale.setlocale(locale.LC_NUMERIC, place)
    mark = locale.localeconv()["decimal_point"]
    locale.setlocale(locale.LC_NUMERIC, "")
    return mark


def main():
    arguments = sys.argv[1:]
    options = {}
    while arguments and arguments[0].startswith("--"):
        option = arguments.pop(0)
        options[option] = arguments.pop(0) if option == "--sheets" else True
    wine = "--wine" in options
    table_command, work_dir, *program = arguments
    table_tool = shlex.split(table_command)
    os.makedirs(work_dir, exist_ok=True)
    locale.setlocale(locale.LC_ALL, "")
    place = os.environ.get("LC_ALL", "?")
    sheets = options.get("--sheets", place)
    sheets_mark = decimal_mark_of(sheets)
    table = subprocess.run(table_tool + ["-10", "0.5", "10", "2"], capture_output=True,
                           check=True).stdout
    expected = cells_of(table)
    pair = f"{'Wine in ' if wine else ''}{place}, pasted in {sheets}"

    dialog, window = copy_from_the_dialog(program)
    targets = until(lambda: b"text/html" in clipboard("TARGETS"), 10)
    expect(targets, f"no table flavour offered: {clipboard('TARGETS')!r}")
    if not wine:
        expect(b"application/x-gnumeric" in clipboard("TARGETS"), "no flavour for Gnumeric")
    expect(clipboard("UTF8_STRING") == (table.replace(b"\r\n", b"\n") if wine else table),
           "the copied text is not the companion's table")
    session = None
    if wine:  # the program ends; what it copied stays (WM_RENDERALLFORMATS)
        copied_table = clipboard("text/html")
        session = subprocess.Popen(program[:-1] + ["cmd", "/c", "pause"],
                                   stdin=subprocess.PIPE,  # keeps Wine's session up
                                   stdout=subprocess.DEVNULL)
        keys("Escape")
        expect(dialog.wait(30) == 0, "the program under Wine did not end")
        expect(clipboard("text/html") == copied_table, "the table flavour went with the program")

    calc = Calc(work_dir, sheets)
    try:
        values, shown = calc.paste(len(expected))
        compare(f"LibreOffice, {pair}", values, expected)
        shown_as_numbers(f"LibreOffice, {pair}", shown, expected, sheets_mark)
        print(f"spreadsheets: LibreOffice, {pair}, shows row 2 as {shown[1:2]}")
        values, shown = gnumeric_pastes(sheets)
        compare(f"Gnumeric, {pair}", values, expected)
        # Under Wine Gnumeric reads the HTML, which gives it no format.
        shown_as_numbers(f"Gnumeric, {pair}", shown, expected, sheets_mark,
                         decimals=None if wine else 4)
        print(f"spreadsheets: Gnumeric, {pair}, shows row 2 as {shown[1:2]}")
        if "--cut" in options:
            copy_a_cut_selection(window)
            values, _ = calc.paste(len(CUT_CELLS))
            compare(f"LibreOffice, a cut selection, {pair}", values, CUT_CELLS)
            values, _ = gnumeric_pastes(sheets)
            compare(f"Gnumeric, a cut selection, {pair}", values, CUT_CELLS)
        if not wine and sheets == place:
            comma = sheets_mark == ","
            csv_path = os.path.join(work_dir, "table.csv")
            with open(csv_path, "wb") as file:
                file.write(subprocess.run(table_tool + ["--csv", "-10", "0.5", "10", "2"],
                                          capture_output=True, check=True).stdout)
            values, _ = calc.open_csv(csv_path, ";" if comma else ",", 1031 if comma else 1033)
            compare(f"LibreOffice, the companion's CSV in {place}", values, expected)
            if not comma:  # Gnumeric's reader of CSV files splits at commas and tabs only
                compare(f"Gnumeric, the companion's CSV in {place}", gnumeric_reads(csv_path),
                        expected)
    finally:
        calc.close()
        dialog.kill()
        if session is not None:
            session.kill()

    for problem in PROBLEMS:
        print("spreadsheets:", problem)
    if not PROBLEMS:
        print(f"spreadsheets: LibreOffice and Gnumeric hold {len(expected) - 1} rows of numbers, "
              f"{pair}")
    sys.exit(1 if PROBLEMS else 0)


if __name__ == "__main__":
    main()
