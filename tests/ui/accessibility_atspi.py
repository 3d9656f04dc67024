#!/usr/bin/python3
# SPDX-License-Identifier: BSD-2-Clause
"""Reads the window's sentence log as a screen reader does, through AT-SPI: the
table, its two column headers, its rows and their texts, and the current row
after a click and after the Down key. Prints what it read and exits 1 at the
first thing that is not as a person who cannot see the screen needs it.

Usage: accessibility_atspi.py RECEIVER
RECEIVER is the far end of the line the window has open as Comm 1; the
sentences are written there.
"""
import re
import sys
import time

import pyatspi
from gi.repository import GLib

SENTENCES = [
    "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*47",
    "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W*6A",
    "GPVTG,054.7,T,034.4,M,005.5,N,010.2,K*48",
]
TIME = re.compile(r"^\d\d/\d\d/\d{4} \d\d:\d\d:\d\d$")
XK_DOWN = 0xFF54


def fail(why):
    print("FAILED: " + why)
    sys.exit(1)


def wait_for(what, probe, seconds=20):
    """Events reach the reader a moment after they happen: look again until then."""
    end = time.monotonic() + seconds
    while True:
        try:
            found = probe()
        except Exception:  # an object may go away while we look
            found = None
        if found:
            return found
        if time.monotonic() > end:
            fail("%s, after %d s" % (what, seconds))
        time.sleep(0.1)


def events_during(action, kinds, seconds=2):
    """What the window announced while `action` ran: (kind, source's name, detail)."""
    seen = []

    def record(event):
        seen.append((event.type, event.source.name if event.source else None, event.detail1))

    pyatspi.Registry.registerEventListener(record, *kinds)
    GLib.idle_add(lambda: action() and False)
    GLib.timeout_add(seconds * 1000, lambda: pyatspi.Registry.stop() and False)
    pyatspi.Registry.start()
    pyatspi.Registry.deregisterEventListener(record, *kinds)
    return seen


def descendant(root, role):
    return pyatspi.findDescendant(root, lambda node: node is not None and node.getRole() == role)


def window_app():
    return next((app for app in pyatspi.Registry.getDesktop(0)
                 if app is not None and app.name.lower() == "veltrane"), None)


def selected_rows(table):
    return list(table.queryTable().getSelectedRows())


def states(cell):
    return {pyatspi.stateToString(state) for state in cell.getState().getStates()}


def main():
    if len(sys.argv) != 2:
        fail("usage: accessibility_atspi.py RECEIVER")
    app = wait_for("no application named Veltrane on the accessibility bus", window_app)
    tabs = wait_for("no page tab list", lambda: descendant(app, pyatspi.ROLE_PAGE_TAB_LIST))
    log_page = next(tabs.getChildAtIndex(i) for i in range(tabs.childCount)
                    if tabs.getChildAtIndex(i).name == "NMEA Data")
    log_page.queryAction().doAction(0)
    table = wait_for("no table on the NMEA Data page", lambda: descendant(app, pyatspi.ROLE_TABLE))
    cells = table.queryTable()
    print("table:", table.getRoleName(), "with", cells.nColumns, "columns")

    # The first "$" only starts the collecting, and each sentence is handed on when the next begins.
    with open(sys.argv[1], "wb") as receiver:
        receiver.write(("$GPTXT,start\r\n" + "".join("$%s\r\n" % s for s in SENTENCES) + "$GP").encode())
    wait_for("%d rows, not %d" % (len(SENTENCES), cells.nRows), lambda: cells.nRows == len(SENTENCES))

    # AT-SPI finds a column's header through its cells.
    headers = [cells.getColumnHeader(column) for column in range(cells.nColumns)]
    print("column headers:", [(header.getRoleName(), header.name) for header in headers])
    if [header.name for header in headers] != ["Time", "NMEA Data"]:
        fail("the column headers should be Time and NMEA Data")
    if [table.getChildAtIndex(i).getRoleName() for i in range(2)] != ["table column header"] * 2:
        fail("the table's first two children should be its column headers")
    for row in range(cells.nRows):
        texts = [cells.getAccessibleAt(row, column).name for column in range(cells.nColumns)]
        print("row %d:" % row, texts)
        if not TIME.match(texts[0]) or texts[1] != SENTENCES[-1 - row]:
            fail("row %d should read a time and %s, newest first" % (row, SENTENCES[-1 - row]))

    x, y, width, height = cells.getAccessibleAt(1, 1).queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    pyatspi.Registry.generateMouseEvent(x + 5, y + height // 2, "b1c")
    wait_for("row 1 chosen after a click on it", lambda: selected_rows(table) == [1])
    chosen = cells.getAccessibleAt(1, 0)
    wait_for("the chosen cell selected and focused",
             lambda: {"selected", "focused"} <= states(chosen))
    print("after a click on row 1: selected rows", selected_rows(table), "; its first cell",
          sorted({"selected", "focused"} & states(chosen)))

    announced = events_during(lambda: pyatspi.Registry.generateKeyboardEvent(XK_DOWN, None, pyatspi.KEY_SYM),
                              ["object:state-changed:selected", "object:state-changed:focused"])
    wait_for("row 2 chosen after the Down key", lambda: selected_rows(table) == [2])
    print("announced on the Down key:", announced)

    def announced_that(kind, detail, matches):
        return any(event == "object:state-changed:" + kind and value == detail and matches(source or "")
                   for event, source, value in announced)

    if not announced_that("selected", 1, lambda name: name == SENTENCES[0]):
        fail("the Down key should announce row 2 as selected")
    if not announced_that("selected", 0, lambda name: name == SENTENCES[1]):
        fail("the Down key should announce row 1 as no longer selected")
    if not announced_that("focused", 1, TIME.match):
        fail("the Down key should announce the focus on row 2")
    print("after the Down key: selected rows", selected_rows(table), "; reads",
          [cells.getAccessibleAt(2, column).name for column in range(cells.nColumns)])
    print("passed")


main()
