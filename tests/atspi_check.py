#!/usr/bin/python3
"""Reads ORBA's main window over the desktop's accessibility bus (AT-SPI), as a screen reader
such as Orca does: the names of the lists and fields, a search typed into the search field and
started with "Start", the details of the first hit read from the detail view's text, and the
view's announcement when another hit is selected.

    atspi_check.py <orba program> <working directory with the demo data>

Prints what it read; ends with status 1 and the reason when something cannot be read."""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib


def wait_for(what, seconds=30):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        # Events arrive through the main loop.
        while GLib.MainContext.default().iteration(False):
            pass
        found = what()
        if found:
            return found
        time.sleep(0.1)
    return None


def find(root, role, name=None):
    return pyatspi.findDescendant(
        root, lambda a: a is not None and a.getRole() == role and
        (name is None or a.name == name) and a.getState().contains(pyatspi.STATE_SHOWING))


def registered(desktop):
    return next((a for a in desktop if a is not None and a.name == "orba"), None)


def fail(reason):
    print("FEHLER:", reason)
    sys.exit(1)


def main():
    program, folder = sys.argv[1], sys.argv[2]
    desktop = pyatspi.Registry.getDesktop(0)
    orba = None
    try:
        # An X server that is busy with another new client now and then turns one away; a
        # program that ends at once is started again.
        app = None
        for _ in range(3):
            orba = subprocess.Popen([program], cwd=folder)
            wait_for(lambda: orba.poll() is not None or registered(desktop))
            app = registered(desktop)
            if app:
                break
        if not app:
            fail("ORBA erscheint nicht auf dem Barrierefreiheits-Bus")
        window = wait_for(lambda: find(app, pyatspi.ROLE_FRAME, "ORBA 4.0"))
        if not window:
            fail("kein Hauptfenster \"ORBA 4.0\"")
        hits = find(window, pyatspi.ROLE_TABLE, "Trefferliste")
        if not hits:
            fail("keine Tabelle \"Trefferliste\"")
        kind = find(window, pyatspi.ROLE_COMBO_BOX, "Alle")
        labels = [t.name for r in kind.getRelationSet()
                  if r.getRelationType() == pyatspi.RELATION_LABELLED_BY
                  for t in (r.getTarget(i) for i in range(r.getNTargets()))] if kind else []
        print("Auswahlfeld", kind.name if kind else "FEHLT", "beschriftet mit", labels)
        if labels != ["Medienart"]:
            fail("\"Medienart\" ist nicht mit seiner Beschriftung verbunden")
        field = wait_for(lambda: find(window, pyatspi.ROLE_TEXT, "Suchbegriff"))
        if not field:
            fail("kein Eingabefeld \"Suchbegriff\"")
        field.queryEditableText().setTextContents("Masken")
        start = find(window, pyatspi.ROLE_PUSH_BUTTON, "Start")
        if not start:
            fail("keine Schaltfläche \"Start\"")
        start.queryAction().doAction(0)
        table = hits.queryTable()
        if not wait_for(lambda: table.nRows > 0):
            fail("die Suche nach \"Masken\" füllt die Trefferliste nicht")
        first = [table.getAccessibleAt(0, c).name for c in range(table.nColumns)]
        print("Treffer:", table.nRows, "Zeilen, erste:", " | ".join(first))
        details = find(window, pyatspi.ROLE_TEXT, "Details zum Medium")
        if not details:
            fail("keine Detailansicht \"Details zum Medium\"")
        text = details.queryText()
        reading = wait_for(lambda: text.getText(0, -1))
        print("Details:", (reading or "").replace("\n", " / "))
        if not reading or first[-1] not in reading:
            fail("die Detailansicht liest das gewählte Medium nicht vor")
        announced = []
        pyatspi.Registry.registerEventListener(
            lambda event: announced.append(event.any_data)
            if event.source.name == "Details zum Medium" else None,
            "object:text-changed:insert")
        # As a user does: into the list, one row down.
        hits.queryComponent().grabFocus()
        pyatspi.Registry.generateKeyboardEvent(0xFF54, None, pyatspi.KEY_SYM)
        second = table.getAccessibleAt(1, table.nColumns - 1).name
        if not wait_for(lambda: any(second in text for text in announced)):
            fail("die Detailansicht meldet das neu gewählte Medium nicht")
        print("Gemeldet:", second)
        print("AT-SPI: in Ordnung")
    finally:
        if orba:
            orba.terminate()
            orba.wait(10)


main()
