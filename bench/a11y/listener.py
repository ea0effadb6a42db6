#!/usr/bin/python3
# The assistive-technology client of the accessibility bench. Registers on the accessibility
# bus for the events a screen reader listens to and writes one line per event received,
# "<CLOCK_MONOTONIC seconds> <event type>", to EVENTS_FILE; "# ready" once it is registered.
#
# By default it only listens: it asks the applications nothing. With --read-tables it also
# reads, the first time a table is shown or takes the focus, the name of every cell of that
# table, one after the other, as an accessibility inspector or a screen reader reviewing the
# table does; it writes "<seconds> @read <cells so far>" every 100 cells and when done (often enough
# that the program, idle while the client reads, is not taken for settled).
#
#   /usr/bin/python3 listener.py [--read-tables] EVENTS_FILE     (run.sh starts and stops it)

import signal
import sys
import time

import pyatspi
from gi.repository import GLib

EVENTS = [
    "focus:",
    "window:",
    "document:",
    "object:children-changed",
    "object:state-changed",
    "object:property-change",
    "object:text-changed",
    "object:text-caret-moved",
    "object:text-selection-changed",
    "object:text-attributes-changed",
    "object:attributes-changed",
    "object:active-descendant-changed",
    "object:selection-changed",
    "object:visible-data-changed",
    "object:value-changed",
    "object:row-inserted",
    "object:row-deleted",
    "object:row-reordered",
    "object:column-inserted",
    "object:column-deleted",
    "object:column-reordered",
    "object:model-changed",
    "object:announcement",
]


def enclosing_table(node):
    while node is not None:
        if node.getRole() == pyatspi.ROLE_TABLE:
            return node
        node = node.parent
    return None


def main():
    args = sys.argv[1:]
    read_tables = "--read-tables" in args
    args = [a for a in args if a != "--read-tables"]
    if len(args) != 1:
        sys.exit("usage: listener.py [--read-tables] EVENTS_FILE")
    out = open(args[0], "w", buffering=1)
    read = set()

    def read_table(table):
        key = (table.get_process_id(), table.path)
        if key in read:
            return
        read.add(key)
        cells = 0
        try:
            for i in range(table.childCount):
                table.getChildAtIndex(i).name
                cells += 1
                if cells % 100 == 0:
                    out.write("%.6f @read %d\n" % (time.monotonic(), cells))
        except Exception:  # the program went away
            pass
        out.write("%.6f @read %d\n" % (time.monotonic(), cells))

    def received(event):
        out.write("%.6f %s\n" % (time.monotonic(), event.type))
        if not read_tables:
            return
        try:
            if event.type == "object:state-changed:showing" and event.detail1:
                if event.source.getRole() == pyatspi.ROLE_TABLE:
                    read_table(event.source)
            elif event.type.startswith("focus"):
                table = enclosing_table(event.source)
                if table is not None:
                    read_table(table)
        except Exception:
            pass

    pyatspi.Registry.registerEventListener(received, *EVENTS)
    out.write("# ready\n")

    def stop():
        pyatspi.Registry.stop()
        return GLib.SOURCE_REMOVE

    for sig in (signal.SIGTERM, signal.SIGINT):
        GLib.unix_signal_add(GLib.PRIORITY_HIGH, sig, stop)
    pyatspi.Registry.start()
    out.close()


if __name__ == "__main__":
    main()
