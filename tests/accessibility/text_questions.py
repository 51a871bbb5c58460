#!/usr/bin/python3
"""Asks every text question a screen reader may ask of every text in the
running Wertomat and in its About box, over the real accessibility bus, at
every offset from 0 to one past the end: the text at, before and after an
offset for each boundary, and the string at an offset for each granularity.
A question not answered within two seconds fails the run: the program hangs.

Usage (inside scripts/atspi-session): text_questions.py PID
"""
import sys
import time

import pyatspi
from gi.repository import Gio, GLib

from keys import ESCAPE, F10, RETURN, SHIFT, UP, press

TEXT = "org.a11y.atspi.Text"
BOUNDARIES = range(7)  # character, word start/end, sentence start/end, line start/end
GRANULARITIES = range(5)  # character, word, sentence, line, paragraph
FIELD_TEXTS = ["", "0", "0.1", "-5", "1e309", "abc def", " 7,5 "]
TIMEOUT_MS = 2000


def accessibility_bus():
    session = Gio.bus_get_sync(Gio.BusType.SESSION)
    address = session.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus", "GetAddress",
                                None, GLib.VariantType("(s)"), Gio.DBusCallFlags.NONE,
                                TIMEOUT_MS).unpack()[0]
    return Gio.DBusConnection.new_for_address_sync(
        address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT
        | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION)


class Asker:
    def __init__(self):
        self.bus = accessibility_bus()
        self.count = 0

    def ask(self, node, what, method, arguments, signature):
        """One question, straight over the bus; fails the run unanswered.
        An error reply is an answer (the toolkit may not know a question)."""
        self.count += 1
        try:
            self.bus.call_sync(node.app.bus_name, node.path, TEXT, method,
                               GLib.Variant(signature, arguments),
                               None, Gio.DBusCallFlags.NONE, TIMEOUT_MS)
        except GLib.Error as error:
            if "Timeout" in error.message or "timed out" in error.message.lower() \
                    or error.matches(Gio.io_error_quark(), Gio.IOErrorEnum.TIMED_OUT):
                sys.exit(f"questions: {method}{arguments} of {what} "
                         f"unanswered after {TIMEOUT_MS} ms")

    def every_question(self, node):
        length = node.queryText().characterCount
        what = f"{node.getRoleName()} {node.name!r} holding {node.queryText().getText(0, 40)!r}"
        for offset in range(length + 2):
            for boundary in BOUNDARIES:
                for method in ("GetTextAtOffset", "GetTextBeforeOffset", "GetTextAfterOffset"):
                    self.ask(node, what, method, (offset, boundary), "(iu)")
            for granularity in GRANULARITIES:
                self.ask(node, what, "GetStringAtOffset", (offset, granularity), "(iu)")


def texts(node, found):
    if node is None:
        return found
    if "Text" in pyatspi.utils.listInterfaces(node):
        found.append(node)
    for index in range(node.childCount):
        texts(node.getChildAtIndex(index), found)
    return found


def wait_for(find, what, seconds=20):
    deadline = time.time() + seconds
    while time.time() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.01)
    sys.exit(f"questions: no {what}")


def dialog(title):
    def find():
        for application in pyatspi.Registry.getDesktop(0):
            if application is None:
                continue
            application.clear_cache()  # the toolkit tells of no new top-level window
            for window in application:
                if window is not None and window.getRoleName() == "dialog" \
                        and window.name.startswith(title):
                    return window
        return None
    return wait_for(find, f"dialog {title}")


def named(window, role, name):
    return next(node for node in pyatspi.utils.findAllDescendants(
        window, lambda node: node.getRoleName() == role and node.name == name))


def main():
    asker = Asker()
    window = dialog("Wertomat")
    first = named(window, "text", "Xa")
    first.queryEditableText().setTextContents("-10")
    named(window, "text", "Xsw").queryEditableText().setTextContents("0,5")
    named(window, "text", "Xe").queryEditableText().setTextContents("10")
    named(window, "push button", "Berechnen").queryAction().doAction(0)
    results = named(window, "text", "Ergebnisse")
    wait_for(lambda: results if results.queryText().characterCount > 100 else None, "table")
    for text in FIELD_TEXTS:
        first.queryEditableText().setTextContents(text)
        asker.every_question(first)
    for node in texts(window, []):
        if node != first:
            asker.every_question(node)

    # The About box, from the system menu by keys: its last entry.
    focused = []
    pyatspi.Registry.registerEventListener(
        lambda event: focused.append(event.source.getRoleName()) if event.detail1 else None,
        "object:state-changed:focused")
    named(window, "push button", "Berechnen").queryComponent().grabFocus()
    press(F10, SHIFT)

    def menu_item():
        GLib.MainContext.default().iteration(False)
        return True if "menu item" in focused else None
    wait_for(menu_item, "system menu")
    press(UP)
    press(RETURN)
    about = dialog("Info")
    for node in texts(about, []):
        asker.every_question(node)
    press(ESCAPE)
    print(f"questions: {asker.count} answered, none unanswered; "
          f"{len(FIELD_TEXTS)} field texts, {len(texts(window, [])) + len(texts(about, []))} texts")


main()
