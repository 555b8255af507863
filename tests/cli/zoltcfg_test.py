#!/usr/bin/env python3
"""End-to-end tests of zoltcfg: outputs, exit codes and messages.

Usage: zoltcfg_test.py GROUP, with ZOLTCFG (the tool), ZOLTCFG_VERSION and
ZOLT_CORE_DATA (the folder of the reference settings document) set."""

import json
import os
import re
import resource
import signal
import stat
import subprocess
import sys
import tempfile
import threading
import unittest
import xml.etree.ElementTree as ElementTree

sys.dont_write_bytecode = True  # no cache files in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from cardformat import card, crc_of, as_json, default_sys, default_tool  # noqa: E402
import cardformat  # noqa: E402

ZOLTCFG = os.environ.get("ZOLTCFG", "zoltcfg")
REFERENCE = os.path.join(os.environ.get("ZOLT_CORE_DATA", ""), "defaults.zlx")
COMMANDS = ["show", "diff", "image", "settings", "defaults", "volumes", "write", "read"]
DEFAULT_CARD = card(default_sys(), default_tool())
# The Windows build under Wine (tests/windows/zoltcfg-wine): cases that need
# Unix devices or limits are left out, and reasons are the system's.
WINDOWS = bool(os.environ.get("ZOLTCFG_EXE"))


def run(*args, fsize_limit=None, stdin=None, stdout=subprocess.PIPE, lang=None):
    """Text in and out, unless stdin is bytes: then bytes."""
    def limit():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (fsize_limit, resource.RLIM_INFINITY))
    env = dict(os.environ, LANG=lang, LC_ALL=lang) if lang else None
    result = subprocess.run([ZOLTCFG, *args], stdout=stdout, stderr=subprocess.PIPE,
                            input=stdin, text=not isinstance(stdin, bytes), timeout=60, env=env,
                            preexec_fn=limit if fsize_limit is not None else None)
    return result.returncode, result.stdout, result.stderr


def full_disk_output(*args):
    """Runs with standard output on a device that is always full."""
    with open("/dev/full", "w") as full:
        return run(*args, stdout=full)[::2]


def read(path):
    with open(path, "rb") as stream:
        return stream.read()


def write(path, data):
    with open(path, "wb" if isinstance(data, bytes) else "w") as stream:
        stream.write(data)


def document(system="", tool=""):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<zolt-settings>\n'
            f'<system-parameter version="1">{system}</system-parameter>\n'
            f'<tool-parameter version="1">{tool}</tool-parameter>\n</zolt-settings>\n')


def feed(fifo, data):
    """Writes data into a FIFO; the reader may stop after the first mebibyte."""
    try:
        write(fifo, data)
    except BrokenPipeError:
        pass


class ToolTest(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory(prefix="zoltcfg-")

    def tearDown(self):
        self.scratch.cleanup()

    def device(self, name, minor):
        """A memory device of the test's own (major 1), or None when not root."""
        try:
            os.mknod(self.path(name), stat.S_IFCHR | 0o666, os.makedev(1, minor))
        except PermissionError:
            return None
        return self.path(name)

    def path(self, name):
        return os.path.join(self.scratch.name, name)

    def listing(self):
        return sorted(os.listdir(self.scratch.name))

    def assertFails(self, result, message):
        self.assertEqual(result, (1, "", message))

    def image_of(self, text):
        write(self.path("in.zlx"), text)
        self.assertEqual(run("image", self.path("in.zlx"), self.path("ZOLT.CFG")), (0, "", ""))
        return read(self.path("ZOLT.CFG"))


class Usage(ToolTest):
    def test_help_and_version(self):
        code, out, err = run()
        self.assertEqual((code, out), (2, ""))
        self.assertIn("Usage: zoltcfg COMMAND", err)
        for flag in [("--help",), ("-h",), ("help",), ("help", "--help")]:
            code, out, err = run(*flag)
            self.assertEqual((code, err), (0, ""), flag)
            for command in COMMANDS:
                self.assertRegex(out, rf"\n  {command} +\S", command)
        self.assertTrue(os.environ.get("ZOLTCFG_VERSION"))
        self.assertEqual(run("--version"), (0, f"zoltcfg {os.environ['ZOLTCFG_VERSION']}\n", ""))
        for command in COMMANDS:
            for args in [(command, "--help"), (command, "-h"), ("help", command)]:
                code, out, err = run(*args)
                self.assertEqual((code, err), (0, ""), args)
                self.assertIn(f"Usage: zoltcfg {command} ", out)

    def test_wrong_arguments_are_usage_errors(self):
        a, b, c = self.path("a"), self.path("b"), self.path("c.zlx")
        for args in [("frob",), ("--frob",), ("show",), ("show", a, b), ("show", "--jsn", a),
                     ("diff", a), ("image", a), ("image", a, b, c), ("settings",), ("defaults",),
                     ("defaults", "--json", c), ("volumes", a), ("write",), ("write", a, b, c),
                     ("read", a), ("read", a, b, c), ("help", "bogus"), ("help", "show", a),
                     ("defaults", "-"), ("defaults", "--format", "xml", c)]:
            code, out, err = run(*args)
            self.assertEqual((code, out), (2, ""), args)
            self.assertIn("Usage: zoltcfg", err, args)
        self.assertEqual(self.listing(), [])

    @unittest.skipIf(WINDOWS, "needs /dev/full")
    def test_output_that_does_not_arrive_is_a_failure(self):
        write(self.path("b.CFG"), card(default_sys(cLocked=1), default_tool()))
        error = "zoltcfg: Can't write the file: standard output: No space left on device\n"
        for args, code in [(("--help",), 1), (("--version",), 1), (("help", "diff"), 1),
                           (("show", REFERENCE), 1), (("volumes",), 1),
                           (("diff", REFERENCE, self.path("b.CFG")), 2)]:
            self.assertEqual(full_disk_output(*args), (code, error), args)
        self.assertEqual(full_disk_output("defaults", "--format", "zlx", "-"), (
            1, "zoltcfg: Can't save the file: failed to save the file.\n"
               "  standard output: No space left on device\n"))

    def test_card_commands_read_the_settings_first_and_list_volumes(self):
        missing = self.path("missing.zlx")
        self.assertFails(run("write", missing), f"zoltcfg: Can't read the file: {missing}: No "
                                                "such file or directory\n")
        code, out, err = run("volumes")
        self.assertEqual((code, err), (0, ""))
        self.assertTrue(out.startswith("Offered:\n"), out)


class Defaults(ToolTest):
    def test_settings_document_and_card_image_by_name(self):
        # The model agrees with the station's published CRCs of the defaults.
        self.assertEqual((crc_of(default_sys()), crc_of(default_tool())), (0x883A, 0x9624))
        for name, expected, *format in [
                ("zolt1.zlx", read(REFERENCE)), ("UPPER.ZLX", read(REFERENCE)),
                ("ZOLT.CFG", DEFAULT_CARD), ("x.zlx.bak", DEFAULT_CARD),
                ("a.CFG", read(REFERENCE), "--format", "zlx"),
                ("b.zlx", DEFAULT_CARD, "--format", "cfg")]:
            self.assertEqual(run("defaults", *format, self.path(name)), (0, "", ""))
            self.assertEqual(read(self.path(name)), expected, name)
            if format:
                self.assertEqual(run("defaults", *format, "-", stdin=b""), (0, expected, b""))
        self.assertEqual(DEFAULT_CARD[:8], bytes.fromhex("f634863a8d073561"))


class Image(ToolTest):
    def test_missing_items_keep_their_defaults(self):
        for text in [read(REFERENCE), "<zolt-settings/>"]:
            self.assertEqual(self.image_of(text), DEFAULT_CARD)

    def test_document_values_reach_the_card(self):
        text = document(
            '<system-flags unit="true"/><unit value="fahrenheit"/><locked value="true"/>',
            '<tool-flags fix-mode-enabled="true" fix_set-temp1="true" shutdown-time="true"/>'
            '<var-mode><var-set-temp value="2000"/></var-mode>'
            '<fix-mode enabled="true" count="2" actual-index="1">'
            '<fix-set-temp value1="1600" value2="2600" value3="4400"/>'
            '<fix-energy-level value1="1" value2="2" value3="3"/></fix-mode>'
            '<shutdown-time value="30"/>')
        self.assertEqual(self.image_of(text), card(
            default_sys(nUpdateFlag=1, cUnit=2, cLocked=1),
            default_tool(nUpdateFlag=0x10 | 0x40 | 0x200000, nVarSetT100mC=2000, cFixEnabled=1,
                         cFixCnt=2, cFixActualIdx=1, anFixSetT100mC=[1600, 2600, 4400],
                         acFixEnergy=[1, 2, 3], cShutdownTmMin=30)))

    def test_out_of_range_values_are_clamped_as_the_editor_opens_them(self):
        text = document(
            '<unit value="fahrenheit"/>',
            '<var-mode><var-set-temp value="1480"/><var-standby-temp value="9999"/>'
            '<var-energy-level value="0"/></var-mode>'
            '<fix-mode enabled="yes" count="7" actual-index="5">'
            '<fix-set-temp value1="-5" value2="70000" value3="4501"/>'
            '<fix-energy-level value1="9" value2="3" value3="2"/></fix-mode>'
            '<standby-time value="61"/><shutdown-time value="5"/>')
        # Fahrenheit limits: set 1489 ... 4500, standby 1489 ... 3017.
        self.assertEqual(self.image_of(text), card(default_sys(cUnit=2), default_tool(
            nVarSetT100mC=1489, nVarStandbyT100mC=3017, cVarEnergy=1, cFixEnabled=0, cFixCnt=3,
            cFixActualIdx=2, anFixSetT100mC=[1489, 4464, 4500], acFixEnergy=[3, 3, 2],
            cStandbyTmMin=60, cShutdownTmMin=10)))


class Settings(ToolTest):
    def convert(self, image):
        write(self.path("ZOLT.CFG"), image)
        self.assertEqual(run("settings", self.path("ZOLT.CFG"), self.path("out.zlx")),
                         (0, "", ""))
        return ElementTree.parse(self.path("out.zlx")).getroot()

    def test_card_records_are_written_as_they_are(self):
        root = self.convert(card(
            default_sys(nUpdateFlag=3, cUnit=2, cLocked=1, nEntityNo=9),
            default_tool(nUpdateFlag=0x3FC7F0, nVarSetT100mC=-5, nVarStandbyT100mC=9999,
                         cFixEnabled=1, anFixSetT100mC=[1500, -32768, 32767],
                         anFixStandbyT100mC=[1600, 1700, 1800], acFixEnergy=[1, 2, 250],
                         cFixCnt=2, cFixActualIdx=7, cWakeup=0, cStandbyTmMin=61,
                         cShutdownTmMin=0)))
        flags = ("fix-mode-enabled fix_set-temp0 fix_set-temp1 fix_set-temp2 fix-standby-temp0 "
                 "fix-standby-temp1 fix-standby-temp2 fix-energy-level0 fix-energy-level1 "
                 "fix-energy-level2 fix-mode-count fix-mode-actual-index wakeup standby-time "
                 "shutdown-time").split()
        self.assertEqual([(e.tag, e.attrib) for e in root.iter()], [
            ("zolt-settings", {}), ("system-parameter", {"version": "1"}),
            ("system-flags", {"unit": "true", "locked": "true"}),
            ("unit", {"value": "fahrenheit"}), ("locked", {"value": "true"}),
            ("tool-parameter", {"version": "1"}), ("tool-flags", {f: "true" for f in flags}),
            ("var-mode", {}), ("var-set-temp", {"value": "-5"}),
            ("var-standby-temp", {"value": "9999"}), ("var-energy-level", {"value": "3"}),
            ("fix-mode", {"enabled": "true", "count": "2", "actual-index": "7"}),
            ("fix-set-temp", {"value1": "1500", "value2": "-32768", "value3": "32767"}),
            ("fix-standby-temp", {"value1": "1600", "value2": "1700", "value3": "1800"}),
            ("fix-energy-level", {"value1": "1", "value2": "2", "value3": "250"}),
            ("wakeup", {"value": "false"}), ("standby-time", {"value": "61"}),
            ("shutdown-time", {"value": "0"})])
        self.assertEqual(list(root.find("tool-parameter/tool-flags").attrib), flags)

    def test_valid_records_survive_card_to_settings_to_card(self):
        image = card(default_sys(nUpdateFlag=2, cLocked=1), default_tool(
            nUpdateFlag=0x3FC7F0, cFixEnabled=1, nVarSetT100mC=4200,
            anFixSetT100mC=[1500, 2750, 4500], anFixStandbyT100mC=[1500, 2000, 3000],
            acFixEnergy=[1, 2, 3], cFixActualIdx=0, cWakeup=0, cStandbyTmMin=0,
            cShutdownTmMin=240))
        self.convert(image)
        self.assertEqual(run("image", self.path("out.zlx"), self.path("back.CFG")), (0, "", ""))
        self.assertEqual(read(self.path("back.CFG")), image)
        # Only the first mebibyte of a card file is read.
        root = self.convert(DEFAULT_CARD + b"\x01")
        self.assertEqual(root.find("tool-parameter/var-mode/var-set-temp").get("value"), "3600")


class Show(ToolTest):
    def show_json(self, *args):
        code, out, err = run("show", "--json", *args)
        self.assertEqual((code, err), (0, ""))
        return json.loads(out, object_pairs_hook=lambda pairs: pairs)

    def test_json_of_a_card_is_its_records_field_by_field(self):
        sys_record = default_sys(nUpdateFlag=0x1F, cUnit=0, acPassword=bytes(range(16)),
                                 acSerialNumber=bytes([0xAB] * 16), nEntityNo=65535)
        tool_record = default_tool(nUpdateFlag=0x3FFFFF, nVarSetT100mC=-5, nVarCalT100mK=-300,
                                   anFixCalT100mK=[1, -2, 3], acFixEnergy=[0, 255, 7],
                                   anFixStandbyT100mC=[-32768, 0, 32767], cFixCnt=0)
        write(self.path("card.zlx"), card(sys_record, tool_record))
        expected = [("SysPar", as_json(sys_record)), ("ToolPar", as_json(tool_record))]
        self.assertEqual(self.show_json(self.path("card.zlx")), expected)
        # --unchecked changes nothing for card data.
        self.assertEqual(self.show_json("--unchecked", self.path("card.zlx")), expected)

    def test_settings_documents_are_checked_unless_asked_not_to(self):
        # A byte-order mark and white space before the root (no declaration
        # then), and a name that suggests a card: the content decides.
        text = "\ufeff \n\t" + document("", '<var-mode><var-standby-temp value="9999"/>'
                                        '</var-mode><fix-mode count="0" actual-index="3"/>'
                                        ).split("\n", 1)[1]
        write(self.path("ZOLT.CFG"), text.encode("utf-8"))
        checked = dict(self.show_json(self.path("ZOLT.CFG"))[1][1])
        unchecked = dict(self.show_json("--unchecked", self.path("ZOLT.CFG"))[1][1])
        expected = default_tool(nVarStandbyT100mC=3000, cFixCnt=1, cFixActualIdx=0)
        self.assertEqual(checked, dict(as_json(expected)))
        # Unchecked records keep the default's CRC.
        self.assertEqual((unchecked["nVarStandbyT100mC"], unchecked["cFixCnt"],
                          unchecked["cFixActualIdx"], unchecked["nCrc"]), (9999, 0, 3, 0x9624))

    def test_content_decides_the_kind(self):
        # A card whose filler happens to open with "<" is read as a card.
        def first_byte(sys_record):
            seed = cardformat.crc16(cardformat.payload_of(sys_record, default_tool()))
            return ((seed * 214013 + 2531011) >> 16) & 0xFF
        sys_record = next(default_sys(nEntityNo=n) for n in range(65536)
                          if first_byte(default_sys(nEntityNo=n)) == ord("<"))
        write(self.path("card.zlx"), card(sys_record, default_tool()))
        self.assertEqual(read(self.path("card.zlx"))[:1], b"<")
        self.assertEqual(self.show_json(self.path("card.zlx")),
                         [("SysPar", as_json(sys_record)), ("ToolPar", as_json(default_tool()))])
        # Settings documents in UTF-16, with a byte-order mark or a declared order.
        for encoding, declared, bom in [("utf-16-le", "UTF-16", "\ufeff"),
                                        ("utf-16-be", "UTF-16", "\ufeff"),
                                        ("utf-16-le", "UTF-16LE", ""),
                                        ("utf-16-be", "UTF-16BE", "")]:
            text = bom + read(REFERENCE).decode().replace('"UTF-8"', f'"{declared}"')
            write(self.path("doc"), text.encode(encoding))
            self.assertEqual(self.show_json(self.path("doc")), [
                ("SysPar", as_json(default_sys())), ("ToolPar", as_json(default_tool()))])

    def test_text_lists_every_field_in_record_order(self):
        write(self.path("card"), DEFAULT_CARD)
        write(self.path("doc"), read(REFERENCE))
        for name, kind in [("card", "card image"), ("doc", "settings document")]:
            code, out, err = run("show", self.path(name))
            self.assertEqual((code, err), (0, ""))
            lines = out.splitlines()
            self.assertEqual(lines[:2], [f"{self.path(name)}: {kind}", "SysPar"])
            self.assertEqual(lines[2 + len(cardformat.SYS_FIELDS)], "ToolPar")
            self.assertEqual([line.split()[0] for line in lines if line.startswith("  ")],
                             cardformat.SYS_FIELDS + cardformat.TOOL_FIELDS)
            self.assertIn("nVarSetT100mC        3600  (360.0 \u00b0C)", out)
            self.assertEqual(out.count("(correct)"), 2)


class Diff(ToolTest):
    def test_equal_records_then_one_line_per_differing_field(self):
        write(self.path("a.CFG"), DEFAULT_CARD)
        self.assertEqual(run("diff", REFERENCE, self.path("a.CFG")), (0, "", ""))
        tool_record = default_tool(nVarSetT100mC=4000, acFixEnergy=[3, 1, 3], cWakeup=0)
        write(self.path("b.CFG"), card(default_sys(), tool_record))
        self.assertEqual(run("diff", REFERENCE, self.path("b.CFG")), (1, "\n".join([
            "ToolPar.nVarSetT100mC: 3600 -> 4000", "ToolPar.acFixEnergy: 3 3 3 -> 3 1 3",
            "ToolPar.cWakeup: 1 -> 0", "ToolPar.nCrc: 0x9624 -> 0x%04x\n" % crc_of(tool_record)]),
            ""))

    def test_failures_name_the_file(self):
        write(self.path("bad.zlx"), "<zolt-settings><unit/><tool-parameter/><tool-parameter/>"
                                    "</zolt-settings>")
        bad, missing = self.path("bad.zlx"), self.path("missing.zlx")
        # Trouble is 2, as with diff and cmp.
        for args, message in [
                ((bad, REFERENCE), f"{bad}: File is corrupted: failed to read the settings."),
                ((REFERENCE, missing), f"Can't read the file: {missing}: No such file or "
                                       "directory"),
                (("-", "-"), "Can't read the file: standard input can be compared only once.")]:
            self.assertEqual(run("diff", *args, stdin=""), (2, "", f"zoltcfg: {message}\n"))


class Failures(ToolTest):
    def test_inputs_that_do_not_read(self):
        damaged = bytearray(DEFAULT_CARD)
        damaged[cardformat.positions()[43 + 20]] ^= 0x10  # a byte inside the SysPar record
        for name, data in [("short.CFG", DEFAULT_CARD[:1000]), ("empty.CFG", b""),
                           ("zero.CFG", bytes(512)), ("damaged.CFG", bytes(damaged)),
                           ("broken.zlx", "<zolt-settings><system-parameter></zolt-settings>"),
                           ("corrupt.zlx", document('<unit value="Centigrade"/>')),
                           ("count.zlx", document("", '<fix-mode count=""/>'))]:
            write(self.path(name), data)
        out = self.path("ZOLT.CFG")
        self.assertFails(run("settings", self.path("short.CFG"), self.path("out.zlx")),
                         f"zoltcfg: File is corrupted: {self.path('short.CFG')} read wrong\n"
                         "  file size.\n")
        for name in ["empty.CFG", "zero.CFG", "damaged.CFG"]:
            self.assertFails(run("show", self.path(name)), f"zoltcfg: File is corrupted: "
                             f"{self.path(name)} holds no parameter records.\n")
        self.assertFails(run("image", self.path("broken.zlx"), out),
                         "zoltcfg: Can't read the file: failed to load the file.\n")
        for name in ["corrupt.zlx", "count.zlx"]:
            self.assertFails(run("image", self.path(name), out),
                             "zoltcfg: File is corrupted: failed to read the settings.\n")
        self.assertNotIn("out.zlx", self.listing())
        self.assertNotIn("ZOLT.CFG", self.listing())

    def test_inputs_that_do_not_open_say_why_on_every_command(self):
        os.mkdir(self.path("folder.zlx"))
        os.symlink("loop.CFG", self.path("loop.CFG"))
        write(self.path("secret.zlx"), read(REFERENCE))
        os.chmod(self.path("secret.zlx"), 0)
        cases = [("missing.zlx", ": No such file or directory"),
                 ("folder.zlx", " is a folder, not a file.")]
        if not WINDOWS:  # Windows knows neither reason
            cases += [("short.CFG/x", ": Not a directory"),
                      ("loop.CFG", ": Too many levels of symbolic links")]
        if os.geteuid() != 0:  # root reads anything
            cases.append(("secret.zlx", ": Permission denied"))
        write(self.path("short.CFG"), DEFAULT_CARD[:1000])
        for name, why in cases:
            path = self.path(name)
            message = f"zoltcfg: Can't read the file: {path}{why}\n"
            for args in [("show", path), ("settings", path, self.path("o.zlx")),
                         ("image", path, self.path("o.CFG")), ("write", path)]:
                self.assertFails(run(*args), message)
            self.assertEqual(run("diff", REFERENCE, path), (2, "", message))
        self.assertNotIn("o.zlx", self.listing())
        self.assertNotIn("o.CFG", self.listing())

    def test_an_output_that_is_an_input_is_refused(self):
        write(self.path("in.zlx"), read(REFERENCE))
        write(self.path("in.CFG"), DEFAULT_CARD)
        os.mkdir(self.path("sub"))
        os.link(self.path("in.CFG"), self.path("hard.CFG"))
        os.symlink("in.zlx", self.path("link.zlx"))
        for command, source, target in [("image", "in.zlx", "in.zlx"),
                                        ("image", "in.zlx", "link.zlx"),
                                        ("image", "link.zlx", "sub/../in.zlx"),
                                        ("settings", "in.CFG", "hard.CFG"),
                                        ("settings", "hard.CFG", "in.CFG")]:
            title = "Can't write the file" if command == "image" else "Can't save the file"
            self.assertFails(run(command, self.path(source), self.path(target)),
                             f"zoltcfg: {title}: {self.path(target)} is the input file as "
                             "well;\n  nothing was written.\n")
        self.assertEqual((read(self.path("in.zlx")), read(self.path("in.CFG"))),
                         (read(REFERENCE), DEFAULT_CARD))
        # Standard input is no file, even when it comes from the output.
        with open(self.path("in.zlx"), "rb") as source:
            self.assertEqual(subprocess.run([ZOLTCFG, "image", "-", self.path("in.zlx")],
                                            stdin=source).returncode, 0)
        self.assertEqual(read(self.path("in.zlx")), DEFAULT_CARD)

    def test_outputs_that_cannot_be_written(self):
        os.mkdir(self.path("folder.CFG"))
        os.mkdir(self.path("folder.zlx"))
        # The system's reason follows the editor's message.
        for name, message in [
                ("folder.CFG", f"Can't write the file: {self.path('folder.CFG')} is not "
                               "writable\n  reason is unknown.\n  "),
                ("nowhere/ZOLT.CFG", f"Can't write the file: {self.path('nowhere/ZOLT.CFG')} is"
                                     " not writable\n  reason is unknown.\n  No such file "),
                ("folder.zlx", "Can't save the file: failed to save the file.\n  "),
                ("nowhere/x.zlx", "Can't save the file: failed to save the file.\n  No such ")]:
            code, out, err = run("defaults", self.path(name))
            self.assertEqual((code, out), (1, ""), name)
            self.assertRegex(err, "^" + re.escape("zoltcfg: " + message) + r"\S.*\n$", name)
        self.assertEqual(self.listing(), ["folder.CFG", "folder.zlx"])
        self.assertEqual(os.listdir(self.path("folder.CFG")), [])

    @unittest.skipIf(WINDOWS, "needs a file size limit")
    def test_a_write_that_breaks_off_keeps_the_old_file(self):
        # A file size limit stops the write half-way, for root as for anyone.
        write(self.path("ZOLT.CFG"), DEFAULT_CARD)
        write(self.path("old.zlx"), "<zolt-settings/>")
        write(self.path("in.zlx"), document('<unit value="fahrenheit"/>'))
        self.assertEqual(run("image", self.path("in.zlx"), self.path("ZOLT.CFG"),
                             fsize_limit=512 * 1024)[::2], (1, "zoltcfg: Can't write the file: "
                             f"{self.path('ZOLT.CFG')} is not writable\n  reason is unknown.\n"
                             "  File too large\n"))
        self.assertEqual(run("settings", self.path("ZOLT.CFG"), self.path("old.zlx"),
                             fsize_limit=100)[::2], (1, "zoltcfg: Can't save the file: failed to "
                                                     "save the file.\n  File too large\n"))
        self.assertEqual(read(self.path("ZOLT.CFG")), DEFAULT_CARD)
        self.assertEqual(read(self.path("old.zlx")), b"<zolt-settings/>")
        self.assertEqual(self.listing(), ["ZOLT.CFG", "in.zlx", "old.zlx"])


class Names(ToolTest):
    def test_file_names_are_bytes_whatever_the_locale(self):
        write(self.path("in.CFG"), DEFAULT_CARD)
        scratch = os.fsencode(self.scratch.name) + b"/"
        for lang in ["C", "C.UTF-8"]:
            for name in ["caf\u00e9.zlx".encode(), "out-\u00e9.CFG".encode(), b"x\xff.zlx"]:
                path = scratch + lang.encode() + name
                self.assertEqual(run("defaults", path, stdin=b"", lang=lang), (0, b"", b""))
                expected = read(REFERENCE) if name.endswith(b".zlx") else DEFAULT_CARD
                self.assertEqual(read(path), expected, (lang, name))
                code, out, err = run("show", path, stdin=b"", lang=lang)
                self.assertEqual((code, out.split(b"\n")[0], err), (0, path + b": " + (
                    b"settings document" if name.endswith(b".zlx") else b"card image"), b""))
                self.assertEqual(run("settings", self.path("in.CFG"), path + b".zlx",
                                     stdin=b"", lang=lang), (0, b"", b""))
                self.assertEqual(read(path + b".zlx"), read(REFERENCE))
                # Messages name the file as it is named.
                self.assertEqual(run("show", path + b"-missing", stdin=b"", lang=lang), (
                    1, b"", b"zoltcfg: Can't read the file: " + path +
                    b"-missing: No such file or directory\n"))
        self.assertEqual(len(os.listdir(scratch)), 1 + 2 * 3 * 2)


class Streams(ToolTest):
    def test_inputs_from_standard_input_pipes_and_fifos(self):
        write(self.path("card"), DEFAULT_CARD)
        expected = [("SysPar", as_json(default_sys())), ("ToolPar", as_json(default_tool()))]
        os.mkfifo(self.path("fifo"))
        for data in [read(REFERENCE), DEFAULT_CARD, DEFAULT_CARD + bytes(4096)]:
            feeder = threading.Thread(target=feed, args=(self.path("fifo"), data), daemon=True)
            feeder.start()
            for name in [self.path("fifo"), "-", "/dev/stdin"]:
                code, out, err = run("show", "--json", name, stdin=data)
                self.assertEqual((code, err), (0, b""), name)
                self.assertEqual(json.loads(out, object_pairs_hook=lambda p: p), expected, name)
            # diff takes either side from standard input.
            self.assertEqual(run("diff", "-", self.path("card"), stdin=data), (0, b"", b""))
        self.assertEqual(run("show", "-", stdin=DEFAULT_CARD)[1].split(b"\n")[0],
                         b"standard input: card image")

    def test_outputs_to_standard_output(self):
        write(self.path("card"), DEFAULT_CARD)
        for args, data, expected in [
                (("image", "-", "-"), read(REFERENCE), DEFAULT_CARD),
                (("image", REFERENCE, "-"), b"", DEFAULT_CARD),
                (("settings", "-", "-"), DEFAULT_CARD, read(REFERENCE)),
                (("settings", self.path("card"), "-"), b"", read(REFERENCE))]:
            self.assertEqual(run(*args, stdin=data), (0, expected, b""), args)
        self.assertEqual(self.listing(), ["card"])
        self.assertEqual(run("settings", "-", "-", stdin=DEFAULT_CARD[:1000]), (
            1, b"", b"zoltcfg: File is corrupted: standard input read wrong\n  file size.\n"))
        # A document from a pipe passes the same screening as one from a file.
        self.assertEqual(run("show", "-", stdin=b"<a>" * 40 + b"</a>" * 40), (
            1, b"", b"zoltcfg: Can't read the file: failed to load the file.\n"))

    def test_outputs_that_are_no_regular_files_are_written_directly(self):
        os.mkfifo(self.path("fifo"))
        # The test's own links and devices stand in for /dev/stdout, /dev/null
        # and /dev/full, so that a tool that went wrong cannot replace those.
        stdout_link = self.path("stdout")
        os.symlink("/proc/self/fd/1", stdout_link)
        null, full = self.device("null", 3), self.device("full", 7)
        nodes = [name for name, node in (("null", null), ("full", full)) if node]
        for args, expected in [(("image", REFERENCE), DEFAULT_CARD),
                               (("defaults", "--format", "zlx"), read(REFERENCE))]:
            received = []
            reader = threading.Thread(target=lambda: received.append(read(self.path("fifo"))),
                                      daemon=True)
            reader.start()
            self.assertEqual(run(*args, self.path("fifo"), stdin=b""), (0, b"", b""), args)
            reader.join(10)
            self.assertEqual(received, [expected], args)
            self.assertEqual(run(*args, stdout_link, stdin=b""), (0, expected, b""), args)
            if null:
                self.assertEqual(run(*args, null, stdin=b""), (0, b"", b""), args)
        self.assertEqual(self.listing(), sorted(["fifo", "stdout"] + nodes))
        if full:
            self.assertEqual(run("defaults", full, stdin=b""), (
                1, b"", b"zoltcfg: Can't write the file: " + full.encode() + b" is not writable\n"
                        b"  reason is unknown.\n  No space left on device\n"))


if __name__ == "__main__":
    suite = unittest.TestSuite(unittest.defaultTestLoader.loadTestsFromTestCase(globals()[group])
                               for group in sys.argv[1:])
    outcome = unittest.TextTestRunner(verbosity=2).run(suite)
    sys.exit(0 if outcome.wasSuccessful() else 1)
