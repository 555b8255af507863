#!/usr/bin/env python3
"""End-to-end tests of zoltcfg: outputs, exit codes and messages.

Usage: zoltcfg_test.py GROUP, with ZOLTCFG (the tool), ZOLTCFG_VERSION and
ZOLT_CORE_DATA (the folder of the reference settings document) set."""

import json
import os
import resource
import signal
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import cardformat as cf  # noqa: E402

ZOLTCFG = os.environ.get("ZOLTCFG", "zoltcfg")
VERSION = os.environ.get("ZOLTCFG_VERSION", "")
DATA = os.environ.get("ZOLT_CORE_DATA", "")
COMMANDS = ["show", "diff", "image", "settings", "defaults"]

TOOL_FLAGS = [("var-set-temp", 0x1), ("var-standby-temp", 0x2), ("var-energy-level", 0x8),
              ("fix-mode-enabled", 0x10), ("fix_set-temp0", 0x20), ("fix_set-temp1", 0x40),
              ("fix_set-temp2", 0x80), ("fix-standby-temp0", 0x100),
              ("fix-standby-temp1", 0x200), ("fix-standby-temp2", 0x400),
              ("fix-energy-level0", 0x4000), ("fix-energy-level1", 0x8000),
              ("fix-energy-level2", 0x10000), ("fix-mode-count", 0x20000),
              ("fix-mode-actual-index", 0x40000), ("wakeup", 0x80000),
              ("standby-time", 0x100000), ("shutdown-time", 0x200000)]


def run(*args, fsize_limit=None):
    def limit():
        signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
        resource.setrlimit(resource.RLIMIT_FSIZE, (fsize_limit, resource.RLIM_INFINITY))
    result = subprocess.run([ZOLTCFG, *args], capture_output=True, text=True, timeout=60,
                            preexec_fn=limit if fsize_limit is not None else None)
    return result.returncode, result.stdout, result.stderr


def read(path):
    with open(path, "rb") as stream:
        return stream.read()


def write(path, data):
    with open(path, "wb" if isinstance(data, bytes) else "w") as stream:
        stream.write(data)


def settings_document(system="", tool=""):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<zolt-settings>\n'
            f'<system-parameter version="1">{system}</system-parameter>\n'
            f'<tool-parameter version="1">{tool}</tool-parameter>\n</zolt-settings>\n')


def card_of(sys_record, tool_record):
    return cf.build_image(cf.pack_sys(sys_record), cf.pack_tool(tool_record))


def json_pairs(text):
    return json.loads(text, object_pairs_hook=lambda pairs: pairs)


class ToolTest(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory(prefix="zoltcfg-")
        self.dir = self.scratch.name

    def tearDown(self):
        self.scratch.cleanup()

    def path(self, name):
        return os.path.join(self.dir, name)

    def assertFails(self, result, message):
        code, out, err = result
        self.assertEqual(code, 1, err)
        self.assertEqual(out, "")
        self.assertEqual(err, message)


class Usage(ToolTest):
    def test_without_arguments_prints_usage_and_fails(self):
        code, out, err = run()
        self.assertEqual(code, 2)
        self.assertEqual(out, "")
        self.assertIn("Usage: zoltcfg COMMAND", err)

    def test_help_lists_every_command(self):
        for flag in ["--help", "-h", "help"]:
            code, out, err = run(flag)
            self.assertEqual((code, err), (0, ""), flag)
            for command in COMMANDS:
                self.assertRegex(out, rf"\n  {command} +\S", command)

    def test_version_comes_from_the_project(self):
        self.assertTrue(VERSION)
        self.assertEqual(run("--version"), (0, f"zoltcfg {VERSION}\n", ""))

    def test_every_command_has_its_help(self):
        for command in COMMANDS:
            for args in [(command, "--help"), (command, "-h"), ("help", command)]:
                code, out, err = run(*args)
                self.assertEqual((code, err), (0, ""), args)
                self.assertIn(f"Usage: zoltcfg {command} ", out)

    def test_wrong_arguments_are_usage_errors(self):
        a, b, c = self.path("a"), self.path("b"), self.path("c.zlx")
        cases = [("frob",), ("--frob",), ("show",), ("show", a, b), ("show", "--jsn", a),
                 ("diff", a), ("image", a), ("image", a, b, c), ("settings",),
                 ("defaults",), ("defaults", "--json", c)]
        for args in cases:
            code, out, err = run(*args)
            self.assertEqual(code, 2, args)
            self.assertEqual(out, "", args)
            self.assertIn("Usage: zoltcfg", err, args)
        self.assertEqual(os.listdir(self.dir), [])


class Defaults(ToolTest):
    def test_settings_document_is_the_reference_document(self):
        expected = read(os.path.join(DATA, "defaults.zlx"))
        for name in ["zolt1.zlx", "UPPER.ZLX"]:
            self.assertEqual(run("defaults", self.path(name)), (0, "", ""))
            self.assertEqual(read(self.path(name)), expected)

    def test_card_image_carries_the_default_records(self):
        sys_bytes, tool_bytes = cf.pack_sys(cf.default_sys()), cf.pack_tool(cf.default_tool())
        # The model agrees with the station's published CRCs of the defaults.
        self.assertEqual(sys_bytes[-2:], bytes([0x3A, 0x88]))
        self.assertEqual(tool_bytes[-2:], bytes([0x24, 0x96]))
        for name in ["ZOLT.CFG", "image", "x.zlx.bak"]:
            self.assertEqual(run("defaults", self.path(name)), (0, "", ""))
            image = read(self.path(name))
            self.assertEqual(len(image), cf.IMAGE_SIZE)
            self.assertEqual(image[:8], bytes.fromhex("f634863a8d073561"))
            self.assertEqual(cf.read_image(image), (sys_bytes, tool_bytes))
            self.assertEqual(image, cf.build_image(sys_bytes, tool_bytes))

    def test_replacing_a_file_keeps_its_mode_and_leaves_nothing_else(self):
        target = self.path("ZOLT.CFG")
        write(target, b"old")
        os.chmod(target, 0o604)
        self.assertEqual(run("defaults", target)[0], 0)
        self.assertEqual(os.stat(target).st_mode & 0o7777, 0o604)
        self.assertEqual(len(read(target)), cf.IMAGE_SIZE)
        self.assertEqual(os.listdir(self.dir), ["ZOLT.CFG"])


class Image(ToolTest):
    def image_of(self, document):
        write(self.path("in.zlx"), document)
        result = run("image", self.path("in.zlx"), self.path("ZOLT.CFG"))
        self.assertEqual(result, (0, "", ""))
        return read(self.path("ZOLT.CFG"))

    def test_reference_document_gives_the_default_image(self):
        image = self.image_of(read(os.path.join(DATA, "defaults.zlx")))
        self.assertEqual(image, card_of(cf.default_sys(), cf.default_tool()))

    def test_items_missing_from_the_document_keep_their_defaults(self):
        image = self.image_of("<zolt-settings/>")
        self.assertEqual(image, card_of(cf.default_sys(), cf.default_tool()))

    def test_document_values_reach_the_card(self):
        document = settings_document(
            '<system-flags unit="true"/><unit value="fahrenheit"/><locked value="true"/>',
            '<tool-flags fix-mode-enabled="true" fix_set-temp1="true" shutdown-time="true"/>'
            '<var-mode><var-set-temp value="2000"/></var-mode>'
            '<fix-mode enabled="true" count="2" actual-index="1">'
            '<fix-set-temp value1="1600" value2="2600" value3="4400"/>'
            '<fix-energy-level value1="1" value2="2" value3="3"/></fix-mode>'
            '<shutdown-time value="30"/>')
        sys_record, tool_record = cf.default_sys(), cf.default_tool()
        sys_record.update(nUpdateFlag=1, cUnit=2, cLocked=1)
        tool_record.update(nUpdateFlag=0x10 | 0x40 | 0x200000, nVarSetT100mC=2000,
                           cFixEnabled=1, cFixCnt=2, cFixActualIdx=1,
                           anFixSetT100mC=[1600, 2600, 4400], acFixEnergy=[1, 2, 3],
                           cShutdownTmMin=30)
        self.assertEqual(self.image_of(document), card_of(sys_record, tool_record))

    def test_out_of_range_values_are_clamped_as_the_editor_opens_them(self):
        document = settings_document(
            '<unit value="fahrenheit"/>',
            '<var-mode><var-set-temp value="1480"/><var-standby-temp value="9999"/>'
            '<var-energy-level value="0"/></var-mode>'
            '<fix-mode enabled="yes" count="7" actual-index="5">'
            '<fix-set-temp value1="-5" value2="70000" value3="4501"/>'
            '<fix-energy-level value1="9" value2="3" value3="2"/></fix-mode>'
            '<standby-time value="61"/><shutdown-time value="5"/>')
        sys_record, tool_record = cf.default_sys(), cf.default_tool()
        sys_record.update(cUnit=2)
        # Fahrenheit limits: set 1489 ... 4500, standby 1489 ... 3017.
        tool_record.update(nVarSetT100mC=1489, nVarStandbyT100mC=3017, cVarEnergy=1,
                           cFixEnabled=0, cFixCnt=3, cFixActualIdx=2,
                           anFixSetT100mC=[1489, 4464, 4500], acFixEnergy=[3, 3, 2],
                           cStandbyTmMin=60, cShutdownTmMin=10)
        self.assertEqual(self.image_of(document), card_of(sys_record, tool_record))


class Settings(ToolTest):
    def convert(self, image):
        write(self.path("ZOLT.CFG"), image)
        self.assertEqual(run("settings", self.path("ZOLT.CFG"), self.path("out.zlx")),
                         (0, "", ""))
        return ElementTree.parse(self.path("out.zlx")).getroot()

    def test_card_records_are_written_as_they_are(self):
        sys_record, tool_record = cf.default_sys(), cf.default_tool()
        sys_record.update(nUpdateFlag=3, cUnit=2, cLocked=1, nEntityNo=9)
        tool_record.update(nUpdateFlag=0x3FC7F0, nVarSetT100mC=-5, nVarStandbyT100mC=9999,
                           cFixEnabled=1, anFixSetT100mC=[1500, -32768, 32767],
                           anFixStandbyT100mC=[1600, 1700, 1800], acFixEnergy=[1, 2, 250],
                           cFixCnt=2, cFixActualIdx=7, cWakeup=0, cStandbyTmMin=61,
                           cShutdownTmMin=0)
        root = self.convert(card_of(sys_record, tool_record))
        self.assertEqual(root.tag, "zolt-settings")
        system = root.find("system-parameter")
        self.assertEqual([child.tag for child in system], ["system-flags", "unit", "locked"])
        self.assertEqual(system.find("unit").get("value"), "fahrenheit")
        self.assertEqual(system.find("locked").get("value"), "true")
        tool = root.find("tool-parameter")
        self.assertEqual([child.tag for child in tool],
                         ["tool-flags", "var-mode", "fix-mode", "wakeup", "standby-time",
                          "shutdown-time"])
        self.assertEqual(list(tool.find("tool-flags").attrib),
                         [name for name, bit in TOOL_FLAGS if bit & 0x3FC7F0])
        self.assertEqual(tool.find("var-mode/var-set-temp").get("value"), "-5")
        self.assertEqual(tool.find("var-mode/var-standby-temp").get("value"), "9999")
        fix = tool.find("fix-mode")
        self.assertEqual(dict(fix.attrib), {"enabled": "true", "count": "2", "actual-index": "7"})
        self.assertEqual([fix.find("fix-set-temp").get(f"value{i}") for i in (1, 2, 3)],
                         ["1500", "-32768", "32767"])
        self.assertEqual([fix.find("fix-energy-level").get(f"value{i}") for i in (1, 2, 3)],
                         ["1", "2", "250"])
        self.assertEqual(tool.find("wakeup").get("value"), "false")
        self.assertEqual(tool.find("standby-time").get("value"), "61")
        self.assertEqual(tool.find("shutdown-time").get("value"), "0")

    def test_valid_records_survive_card_to_settings_to_card(self):
        sys_record, tool_record = cf.default_sys(), cf.default_tool()
        sys_record.update(nUpdateFlag=2, cUnit=1, cLocked=1)
        tool_record.update(nUpdateFlag=0x3FC7F0, cFixEnabled=1, nVarSetT100mC=4200,
                           anFixSetT100mC=[1500, 2750, 4500], anFixStandbyT100mC=[1500, 2000,
                                                                                  3000],
                           acFixEnergy=[1, 2, 3], cFixCnt=3, cFixActualIdx=0, cWakeup=0,
                           cStandbyTmMin=0, cShutdownTmMin=240)
        card = card_of(sys_record, tool_record)
        self.convert(card)
        self.assertEqual(run("image", self.path("out.zlx"), self.path("back.CFG")), (0, "", ""))
        self.assertEqual(read(self.path("back.CFG")), card)

    def test_only_the_first_mebibyte_is_read(self):
        card = card_of(cf.default_sys(), cf.default_tool())
        root = self.convert(card + b"\x01")
        self.assertEqual(root.find("tool-parameter/var-mode/var-set-temp").get("value"), "3600")


class Show(ToolTest):
    def test_json_of_a_card_is_its_records_field_by_field(self):
        sys_record, tool_record = cf.default_sys(), cf.default_tool()
        sys_record.update(nUpdateFlag=0x1F, cUnit=0, acPassword=bytes(range(16)),
                          acSerialNumber=bytes([0xAB] * 16), nEntityNo=65535)
        tool_record.update(nUpdateFlag=0x3FFFFF, nVarSetT100mC=-5, nVarCalT100mK=-300,
                           anFixCalT100mK=[1, -2, 3], anFixStandbyT100mC=[-32768, 0, 32767],
                           acFixEnergy=[0, 255, 7], cFixCnt=0)
        write(self.path("card.zlx"), card_of(sys_record, tool_record))
        code, out, err = run("show", "--json", self.path("card.zlx"))
        self.assertEqual((code, err), (0, ""))
        expected = cf.to_json(cf.unpack(cf.pack_sys(sys_record), cf.SYS_FORMAT, cf.SYS_FIELDS),
                              cf.unpack(cf.pack_tool(tool_record), cf.TOOL_FORMAT,
                                        cf.TOOL_FIELDS))
        self.assertEqual(json_pairs(out), expected)
        # --unchecked changes nothing for card data.
        self.assertEqual(run("show", "--json", "--unchecked", self.path("card.zlx"))[1], out)

    def test_settings_documents_are_checked_unless_asked_not_to(self):
        # A byte-order mark and white space before the root (no declaration
        # then), and a name that suggests a card: the content decides.
        document = "\ufeff \n\t" + settings_document(
            "", '<var-mode><var-standby-temp value="9999"/></var-mode>'
                '<fix-mode count="0" actual-index="3"/>').split("\n", 1)[1]
        write(self.path("ZOLT.CFG"), document.encode("utf-8"))
        checked = dict(json_pairs(run("show", "--json", self.path("ZOLT.CFG"))[1]))
        unchecked = dict(json_pairs(run("show", "--unchecked", "--json",
                                        self.path("ZOLT.CFG"))[1]))
        tool_checked, tool_unchecked = dict(checked["ToolPar"]), dict(unchecked["ToolPar"])
        self.assertEqual(tool_checked["nVarStandbyT100mC"], 3000)
        self.assertEqual((tool_checked["cFixCnt"], tool_checked["cFixActualIdx"]), (1, 0))
        self.assertEqual(tool_unchecked["nVarStandbyT100mC"], 9999)
        self.assertEqual((tool_unchecked["cFixCnt"], tool_unchecked["cFixActualIdx"]), (0, 3))
        # Unchecked records keep the default's CRC; checked ones get their own.
        self.assertEqual(tool_unchecked["nCrc"], 0x9624)
        expected = cf.default_tool()
        expected.update(nVarStandbyT100mC=3000, cFixCnt=1, cFixActualIdx=0)
        self.assertEqual(tool_checked["nCrc"],
                         int.from_bytes(cf.pack_tool(expected)[-2:], "little"))

    def test_text_lists_every_field_in_record_order(self):
        write(self.path("card"), card_of(cf.default_sys(), cf.default_tool()))
        write(self.path("doc"), read(os.path.join(DATA, "defaults.zlx")))
        for name, kind in [("card", "card image"), ("doc", "settings document")]:
            code, out, err = run("show", self.path(name))
            self.assertEqual((code, err), (0, ""))
            lines = out.splitlines()
            self.assertEqual(lines[0], f"{self.path(name)}: {kind}")
            self.assertEqual(lines[1], "SysPar")
            self.assertEqual(lines[2 + len(cf.SYS_FIELDS)], "ToolPar")
            names = [line.split()[0] for line in lines[2:] if line.startswith("  ")]
            self.assertEqual(names, cf.SYS_FIELDS + cf.TOOL_FIELDS)
            self.assertIn("nVarSetT100mC        3600  (360.0 \u00b0C)", out)
            self.assertEqual(out.count("(correct)"), 2)


class Diff(ToolTest):
    def test_equal_records_in_files_of_either_kind(self):
        write(self.path("a.CFG"), card_of(cf.default_sys(), cf.default_tool()))
        self.assertEqual(run("diff", os.path.join(DATA, "defaults.zlx"), self.path("a.CFG")),
                         (0, "", ""))

    def test_one_line_per_differing_field(self):
        tool_record = cf.default_tool()
        tool_record.update(nVarSetT100mC=4000, acFixEnergy=[3, 1, 3], cWakeup=0)
        write(self.path("b.CFG"), card_of(cf.default_sys(), tool_record))
        code, out, err = run("diff", os.path.join(DATA, "defaults.zlx"), self.path("b.CFG"))
        self.assertEqual((code, err), (1, ""))
        self.assertEqual(out.splitlines(), [
            "ToolPar.nVarSetT100mC: 3600 -> 4000",
            "ToolPar.acFixEnergy: 3 3 3 -> 3 1 3",
            "ToolPar.cWakeup: 1 -> 0",
            "ToolPar.nCrc: 0x9624 -> 0x%04x" % int.from_bytes(cf.pack_tool(tool_record)[-2:],
                                                              "little"),
        ])

    def test_failures_name_the_file(self):
        write(self.path("bad.zlx"), "<zolt-settings><unit/><tool-parameter/><tool-parameter/>"
                                    "</zolt-settings>")
        bad, missing = self.path("bad.zlx"), self.path("missing.zlx")
        self.assertFails(run("diff", bad, os.path.join(DATA, "defaults.zlx")),
                         f"zoltcfg: {bad}: File is corrupted: failed to read the settings.\n")
        self.assertFails(run("diff", os.path.join(DATA, "defaults.zlx"), missing),
                         f"zoltcfg: Can't read the file: {missing} does not exist.\n")


class Failures(ToolTest):
    def test_card_files_that_do_not_read(self):
        write(self.path("short.CFG"), card_of(cf.default_sys(), cf.default_tool())[:1000])
        write(self.path("empty.CFG"), b"")
        write(self.path("zero.CFG"), bytes(512))
        damaged = bytearray(card_of(cf.default_sys(), cf.default_tool()))
        damaged[cf.positions()[43 + 20]] ^= 0x10  # a byte inside the SysPar record
        write(self.path("damaged.CFG"), bytes(damaged))
        os.mkdir(self.path("folder.CFG"))
        for name in ["short.CFG", "folder.CFG"]:
            path = self.path(name)
            self.assertFails(run("settings", path, self.path("out.zlx")),
                             f"zoltcfg: File is corrupted: {path} read wrong\n  file size.\n")
        for name in ["empty.CFG", "zero.CFG", "damaged.CFG"]:
            path = self.path(name)
            self.assertFails(run("show", path),
                             f"zoltcfg: File is corrupted: {path} holds no parameter records.\n")
        self.assertFalse(os.path.exists(self.path("out.zlx")))

    def test_settings_documents_that_do_not_read(self):
        write(self.path("broken.zlx"), "<zolt-settings><system-parameter></zolt-settings>")
        write(self.path("corrupt.zlx"), settings_document('<unit value="Centigrade"/>'))
        write(self.path("count.zlx"), settings_document("", '<fix-mode count=""/>'))
        out = self.path("ZOLT.CFG")
        self.assertFails(run("image", self.path("broken.zlx"), out),
                         "zoltcfg: Can't read the file: failed to load the file.\n")
        for name in ["corrupt.zlx", "count.zlx"]:
            self.assertFails(run("image", self.path(name), out),
                             "zoltcfg: File is corrupted: failed to read the settings.\n")
        missing = self.path("missing.zlx")
        self.assertFails(run("image", missing, out),
                         f"zoltcfg: Can't read the file: {missing} does not exist.\n")
        self.assertFalse(os.path.exists(out))

    def test_outputs_that_cannot_be_written(self):
        os.mkdir(self.path("folder.CFG"))
        os.mkdir(self.path("folder.zlx"))
        for name in ["folder.CFG", "nowhere/ZOLT.CFG"]:
            path = self.path(name)
            self.assertFails(run("defaults", path),
                             f"zoltcfg: Can't write the file: {path} is not writable\n"
                             "  reason is unknown.\n")
        for name in ["folder.zlx", "nowhere/x.zlx"]:
            self.assertFails(run("defaults", self.path(name)),
                             "zoltcfg: Can't save the file: failed to save the file.\n")
        self.assertEqual(sorted(os.listdir(self.dir)), ["folder.CFG", "folder.zlx"])
        self.assertEqual(os.listdir(self.path("folder.CFG")), [])

    def test_a_write_that_breaks_off_keeps_the_old_file(self):
        # A file size limit stops the write half-way, for root as for anyone.
        old_card = card_of(cf.default_sys(), cf.default_tool())
        write(self.path("ZOLT.CFG"), old_card)
        write(self.path("old.zlx"), "<zolt-settings/>")
        write(self.path("in.zlx"), settings_document('<unit value="fahrenheit"/>'))
        self.assertEqual(run("image", self.path("in.zlx"), self.path("ZOLT.CFG"),
                             fsize_limit=512 * 1024)[0], 1)
        self.assertEqual(run("settings", self.path("ZOLT.CFG"), self.path("old.zlx"),
                             fsize_limit=100)[0], 1)
        self.assertEqual(read(self.path("ZOLT.CFG")), old_card)
        self.assertEqual(read(self.path("old.zlx")), b"<zolt-settings/>")
        self.assertEqual(sorted(os.listdir(self.dir)), ["ZOLT.CFG", "in.zlx", "old.zlx"])


if __name__ == "__main__":
    groups = sys.argv[1:] or [name for name in dir() if isinstance(globals()[name], type)
                              and issubclass(globals()[name], ToolTest)
                              and globals()[name] is not ToolTest]
    suite = unittest.TestSuite(unittest.defaultTestLoader.loadTestsFromTestCase(globals()[group])
                               for group in groups)
    outcome = unittest.TextTestRunner(verbosity=2).run(suite)
    sys.exit(0 if outcome.wasSuccessful() else 1)
