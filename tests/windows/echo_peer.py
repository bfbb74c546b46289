#!/usr/bin/env python3
"""The far end of a serial cable that returns every byte it is sent.

Opens a pseudo-terminal, prints the path of its slave side on stdout and
writes back, on the master side, every byte that arrives there. It keeps the
slave side open itself, so that the line stays up between the openings of
the program under test. Once it has returned the text HANG UP it closes the
line, as a cable pulled out would. It ends when its standard input is
closed."""
import os
import select
import sys
import tty

HANG_UP = b"HANG UP"


def main():
    master, slave = os.openpty()
    tty.setraw(slave)
    print(os.ttyname(slave), flush=True)
    recent = b""
    while master is not None:
        ready, _, _ = select.select([master, sys.stdin], [], [])
        if sys.stdin in ready and not os.read(sys.stdin.fileno(), 4096):
            return 0
        if master in ready:
            data = os.read(master, 4096)
            seen = recent + data
            recent = seen[1 - len(HANG_UP):]
            while data:
                data = data[os.write(master, data):]
            if HANG_UP in seen:
                os.close(master)
                os.close(slave)
                master = None
    while os.read(sys.stdin.fileno(), 4096):
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
