#!/usr/bin/env python3
"""Runs a test program with tile_test_server.py serving on the loopback
address: the program finds the server's port in VELORIN_TEST_TILE_PORT.
The server goes when the program has ended; the program's exit code is
this script's.

Usage: run_with_tile_server.py COMMAND [ARGUMENT...]
"""
import os
import subprocess
import sys

here = os.path.dirname(os.path.abspath(__file__))
server = subprocess.Popen([sys.executable, os.path.join(here, "tile_test_server.py")],
                          stdout=subprocess.PIPE, text=True)
try:
    port = server.stdout.readline().strip()
    environment = dict(os.environ, VELORIN_TEST_TILE_PORT=port)
    sys.exit(subprocess.call(sys.argv[1:], env=environment))
finally:
    server.kill()
    server.wait()
