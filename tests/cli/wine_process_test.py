#!/usr/bin/env python3
"""velorin-cli.exe as a whole process under Wine, driven from Linux.

What the Linux build checks with fork, exec and signals (cli_process_test.cpp)
is checked here for the Windows build: Wine turns SIGINT into the console's
Ctrl-C event, and a file-size limit set on the Wine process makes its writes
fail. Each rule is one test; its cases are a table.

Usage: wine_process_test.py --list
       wine_process_test.py EMULATOR PROGRAM TEST
"""
import os
import re
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

EMULATOR = "wine"
PROGRAM = "velorin-cli.exe"
STAMP = "--timestamp=2010/04/01 14:30:00"
# Generous: only a run that never ends runs into it.
PATIENCE = 60


def point_line(title):
    return b"ORD=POI/tex=" + title + b"/kei=135'0'0'0/ido=35'0'0'0\r\n"


def block(title):
    return (b"NPOIs100@NRA/R1;\n 2010/04/01_14:30:00_JST;\n 255;\n $13D5FD5FD5FD4C00;\n"
            b" TTL= {" + title + b"};\n CHAR = SJIS;\n ADDR = {};\n HPGL = {};\n MAIL = {};\n"
            b" LNKF = {};\n COMM = {};\neoNPOIs@NRA\n")


class WineProcessTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="velorin-wine-")
        self.children = []

    def tearDown(self):
        for child in self.children:
            if child.poll() is None:
                child.kill()
                child.wait()
        shutil.rmtree(self.folder, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.folder, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)

    def read(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def names(self):
        return sorted(os.listdir(self.folder))

    def start(self, arguments, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
              file_size_limit=None):
        def limit():
            if file_size_limit is not None:
                signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
                resource.setrlimit(resource.RLIMIT_FSIZE,
                                   (file_size_limit, resource.RLIM_INFINITY))
        child = subprocess.Popen([EMULATOR, PROGRAM] + arguments, cwd=self.folder, stdin=stdin,
                                 stdout=stdout, stderr=subprocess.PIPE, preexec_fn=limit)
        self.children.append(child)
        return child

    def run_to_end(self, arguments, **kwargs):
        child = self.start(arguments, **kwargs)
        _, err = child.communicate(timeout=PATIENCE)
        return child.returncode, err

    def wait_for(self, condition, what):
        end = time.monotonic() + PATIENCE
        while time.monotonic() < end:
            if condition():
                return
            time.sleep(0.02)
        self.fail(what)

    def temporary_size(self, target):
        for name in self.names():
            if name.startswith("." + target + ".velorin-"):
                return os.path.getsize(self.path(name))
        return 0

    # A Ctrl-C while the input pipe is quiet ends the run at once, as
    # cancelled: the whole blocks so far become the output; a line cut short
    # does not count.
    def test_ctrl_c_on_a_quiet_pipe_keeps_the_whole_blocks(self):
        self.write("out.nvi", b"old")
        child = self.start(["convert", "--force", STAMP, "-", "out.nvi"], stdin=subprocess.PIPE)
        child.stdin.write(point_line(b"A") + point_line(b"B") + b"ORD=POI/tex=C/kei=135'0")
        child.stdin.flush()
        self.wait_for(lambda: self.temporary_size("out.nvi") >= 2 * len(block(b"A")),
                      "the blocks never came")
        child.send_signal(signal.SIGINT)
        # The pipe stays open (and quiet) until the program has ended.
        child.wait(timeout=PATIENCE)
        err = child.stderr.read()
        child.stdin.close()
        self.assertEqual(child.returncode, 130)
        self.assertEqual(err, b"interrupted: 2 records written to out.nvi\n")
        self.assertEqual(self.read("out.nvi"), block(b"A") + block(b"B"))
        self.assertEqual(self.names(), ["out.nvi"])

    # A run stuck where it cannot look at the flag (writing a log that is a
    # pipe nobody reads) is ended by a second Ctrl-C, without a trace.
    def test_second_ctrl_c_ends_a_stuck_run_and_keeps_the_old_output(self):
        self.write("in.pot", b"a line that is skipped\r\n" * 100000)
        self.write("out.nvi", b"old")
        os.mkfifo(self.path("log.fifo"))
        reader = os.open(self.path("log.fifo"), os.O_RDONLY | os.O_NONBLOCK)
        try:
            child = self.start(["convert", "--force", "--log=log.fifo", STAMP, "in.pot", "out.nvi"])
            self.wait_for(lambda: len(self.names()) == 4, "no temporary output appeared")
            # A megabyte of log lines fills the log's buffer and then the
            # pipe's: from there on every write waits. A second is plenty.
            time.sleep(1)
            child.send_signal(signal.SIGINT)
            with self.assertRaises(subprocess.TimeoutExpired,
                                   msg="a run stuck in a write cannot stop by itself"):
                child.wait(timeout=1)
            child.send_signal(signal.SIGINT)
            child.wait(timeout=PATIENCE)
        finally:
            os.close(reader)
        self.assertEqual(child.returncode, 130)
        self.assertEqual(self.read("out.nvi"), b"old")
        self.assertEqual(self.names(), ["in.pot", "log.fifo", "out.nvi"])

    # Lines that come through a pipe are converted and passed on as they come.
    def test_blocks_stream_as_lines_arrive(self):
        child = self.start(["convert", STAMP, "-", "-"], stdin=subprocess.PIPE,
                           stdout=subprocess.PIPE)
        for title in (b"A", b"B"):
            child.stdin.write(point_line(title))
            child.stdin.flush()
            expected = block(title)
            got = b""
            while len(got) < len(expected):
                piece = os.read(child.stdout.fileno(), len(expected) - len(got))
                if not piece:
                    break
                got += piece
            self.assertEqual(got, expected)
        child.stdin.close()
        child.wait(timeout=PATIENCE)
        self.assertEqual(child.returncode, 0)

    # Two runs on one output: each writes a whole file of its own; the last to
    # finish wins, and nothing is torn.
    def test_concurrent_runs_never_tear_the_output(self):
        lines = 30000
        self.write("a.pot", point_line(b"A") * lines)
        self.write("b.pot", point_line(b"B") * lines)
        whole = (block(b"A") * lines, block(b"B") * lines)
        for round_number in range(3):
            with self.subTest(round=round_number):
                first = self.start(["convert", "--force", STAMP, "a.pot", "out.nvi"])
                second = self.start(["convert", "--force", STAMP, "b.pot", "out.nvi"])
                for child in (first, second):
                    _, err = child.communicate(timeout=PATIENCE)
                    self.assertEqual(child.returncode, 0, err)
                self.assertIn(self.read("out.nvi"), whole)
                self.assertEqual(self.names(), ["a.pot", "b.pot", "out.nvi"])

    # A run that fails costs no file: the output is as it was, and says so.
    FAULTS = [
        ("log_in_missing_folder", ["--log=no/such/dir/log.txt"], None),
        ("file_size_limit", [], 256 * 1024),
        ("log_on_full_disk", ["--log=\\\\?\\unix\\dev\\full"], None),
    ]

    def test_a_failed_run_keeps_the_existing_output(self):
        for name, arguments, limit in self.FAULTS:
            with self.subTest(name):
                self.write("in.pot", point_line(b"A") * 20000)
                self.write("out.nvi", b"old")
                code, err = self.run_to_end(["convert", "--force", STAMP] + arguments +
                                            ["in.pot", "out.nvi"], file_size_limit=limit)
                self.assertEqual(code, 1, err)
                self.assertTrue(err.endswith(b"velorin-cli: output file 'out.nvi' left unchanged\n"),
                                err)
                self.assertEqual(self.read("out.nvi"), b"old")
                self.assertEqual(self.names(), ["in.pot", "out.nvi"])

    # A read-only output is refused before anything is written and keeps its
    # bytes and its read-only mark, as on Windows, though Wine run as root
    # could write it.
    def test_a_read_only_output_is_refused_and_kept(self):
        self.write("in.pot", point_line(b"A"))
        self.write("out.nvi", b"old")
        os.chmod(self.path("out.nvi"), 0o444)
        code, err = self.run_to_end(["convert", "--force", STAMP, "in.pot", "out.nvi"])
        self.assertEqual(code, 1, err)
        self.assertIn(b"out.nvi", err)
        self.assertEqual(self.read("out.nvi"), b"old")
        self.assertEqual(os.stat(self.path("out.nvi")).st_mode & 0o777, 0o444)
        self.assertEqual(self.names(), ["in.pot", "out.nvi"])

    # Files that would be one are refused before anything is opened for
    # writing: standard output opened onto the input, a log that will be the
    # output (neither there yet), and the same name in other letter case.
    CLASHES = [
        ("stdout_onto_input", ["in.pot", "-"], "in.pot"),
        ("log_that_will_be_the_output", ["--log", ".\\OUT.nvi", "in.pot", "out.nvi"], None),
        ("output_in_other_case", ["in.pot", "IN.POT"], None),
    ]

    def test_clashes_are_refused_before_anything_is_written(self):
        for name, arguments, stdout_file in self.CLASHES:
            with self.subTest(name):
                self.write("in.pot", point_line(b"A"))
                stdout = subprocess.DEVNULL
                if stdout_file is not None:
                    stdout = os.open(self.path(stdout_file), os.O_RDWR)
                try:
                    code, err = self.run_to_end(["convert", STAMP] + arguments, stdout=stdout)
                finally:
                    if stdout_file is not None:
                        os.close(stdout)
                self.assertEqual(code, 3, err)
                self.assertEqual(self.read("in.pot"), point_line(b"A"))
                self.assertEqual(self.names(), ["in.pot"])

    # The record limit never passes in silence: exit 4 and the first line
    # left. Standard error is a file here: no progress line on it.
    def test_record_limit_cutting_the_input_short_exits_with_four(self):
        limit = point_line(b"A") * 1000000
        self.write("exact.pot", limit)
        self.write("more.pot", limit + b"\r\n" + point_line(b"B"))
        cases = [
            ("exact.pot", 0, b"1000000 records written to standard output\n"),
            ("more.pot", 4, b"velorin-cli: the limit of 1000000 records was reached; input lines "
                            b"from line 1000001 on were not converted\n"),
        ]
        for name, exit_code, last_line in cases:
            with self.subTest(name):
                code, err = self.run_to_end(["convert", STAMP, name, "-"])
                self.assertEqual(code, exit_code, err)
                self.assertTrue(err.endswith(last_line), err)
                self.assertNotIn(b"\r", err)


    # A console shows the messages' characters whatever its code page: the
    # text goes through WriteConsoleW. Wine gives a program a console when it
    # runs on a terminal; script(1) makes one.
    def test_a_console_shows_japanese_file_names(self):
        if shutil.which("script") is None:
            self.skipTest("no script(1) to give the program a terminal")
        name = "\u6771\u4eac.pot"  # not there
        command = " ".join([EMULATOR, PROGRAM, "convert", name])
        shown = subprocess.run(["script", "-qec", command, "/dev/null"], cwd=self.folder,
                               stdin=subprocess.DEVNULL, capture_output=True,
                               timeout=PATIENCE).stdout.decode("utf-8", "replace")
        shown = re.sub(r"\x1b\[[0-9;?]*[A-Za-z]", "", shown)
        self.assertIn("cannot open input file '" + name + "': No such file or directory", shown)


def main():
    global EMULATOR, PROGRAM
    loader = unittest.TestLoader()
    if sys.argv[1:] == ["--list"]:
        for name in loader.getTestCaseNames(WineProcessTest):
            print(name[len("test_"):])
        return 0
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    EMULATOR, PROGRAM = sys.argv[1], os.path.abspath(sys.argv[2])
    os.environ.setdefault("WINEDEBUG", "-all")
    suite = loader.loadTestsFromName("test_" + sys.argv[3], WineProcessTest)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
