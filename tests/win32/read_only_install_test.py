#!/usr/bin/env python3
"""velorin.exe started from a folder it cannot write to, under Wine.

Wine run as root writes any folder, so the folder is made immutable
(chattr +i, which root cannot write past either); where chattr cannot do
that, the test is skipped (exit 77). velorin.exe and the data files are
copied into the folder, velorin.exe is started there and ended once its
start-up has copied the shipped settings to %APPDATA%\\Velorin\\velorin.ini
(the folder made on the way, below the drive); nothing may be written
beside it.

An existing %APPDATA%\\Velorin of the prefix is set aside for the test and
put back after it.

Usage: read_only_install_test.py EMULATOR VELORIN_EXE
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

PATIENCE = 60
DATA = ["velorin.ini", "velorin_e.msg", "velorin_j.msg", "velorin_hlp_e.txt", "velorin_hlp_j.txt"]


def unix_path(emulator, windows_path):
    winepath = os.path.join(os.path.dirname(shutil.which(emulator) or emulator), "winepath")
    if not os.path.exists(winepath):
        winepath = "winepath"
    out = subprocess.run([winepath, "-u", windows_path], capture_output=True, check=True)
    return out.stdout.decode().strip()


def app_data(emulator):
    out = subprocess.run([emulator, "cmd", "/c", "echo", "%APPDATA%"], capture_output=True,
                         check=True)
    return unix_path(emulator, out.stdout.decode("utf-8", "replace").strip())


def immutable(folder, on):
    return subprocess.run(["chattr", "+i" if on else "-i", folder],
                          capture_output=True).returncode == 0


def start_and_wait(emulator, program, condition):
    child = subprocess.Popen([emulator, program], stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    try:
        end = time.monotonic() + PATIENCE
        while time.monotonic() < end and child.poll() is None:
            if condition():
                time.sleep(1)  # what start-up does after it, it has done by now
                return True
            time.sleep(0.1)
        return condition()
    finally:
        child.kill()
        child.wait()


def installed_start_up(emulator, exe, roaming):
    """True when the start-up acted as installed; None when chattr cannot help."""
    folder = tempfile.mkdtemp(prefix="velorin-install-")
    program = os.path.join(folder, "velorin.exe")
    try:
        shutil.copy(exe, program)
        for name in DATA:
            shutil.copy(os.path.join(os.path.dirname(exe), name), folder)
        if not immutable(folder, True):
            return None
        user_settings = os.path.join(roaming, "velorin.ini")
        if not start_and_wait(emulator, program, lambda: os.path.exists(user_settings)):
            return False
        with open(user_settings, "rb") as made, open(os.path.join(folder, "velorin.ini"),
                                                      "rb") as shipped:
            copied = made.read() == shipped.read()
        return copied and sorted(os.listdir(folder)) == sorted(["velorin.exe"] + DATA)
    finally:
        immutable(folder, False)
        shutil.rmtree(folder, ignore_errors=True)
        shutil.rmtree(roaming, ignore_errors=True)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    emulator, exe = sys.argv[1], os.path.abspath(sys.argv[2])
    if not os.environ.get("DISPLAY"):
        print("no display: skipped")
        sys.exit(77)
    roaming = os.path.join(app_data(emulator), "Velorin")
    aside = None
    if os.path.exists(roaming):
        aside = roaming + ".before-test-%d" % os.getpid()
        os.rename(roaming, aside)
    try:
        installed = installed_start_up(emulator, exe, roaming)
        if installed is None:
            print("chattr cannot make a folder read-only here: skipped")
            sys.exit(77)
        if not installed:
            sys.exit("installed: %APPDATA%\\Velorin\\velorin.ini was not made from the shipped "
                     "settings, or something was written beside velorin.exe")
        print("installed: the settings copied to %APPDATA%\\Velorin, nothing written beside it")
    finally:
        if aside is not None:
            shutil.rmtree(roaming, ignore_errors=True)
            os.rename(aside, roaming)


if __name__ == "__main__":
    main()
