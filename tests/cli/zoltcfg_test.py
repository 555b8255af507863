#!/usr/bin/env python3
"""End-to-end tests of zoltcfg's outputs, exit codes and messages. Usage: zoltcfg_test.py GROUP...
with ZOLTCFG, ZOLTCFG_VERSION and ZOLT_CORE_DATA (the reference document's folder) set."""

import json
import os
import pathlib
import struct
import subprocess
import sys
import tempfile
import unittest
from binascii import crc_hqx  # the CCITT CRC; 0 is the station's initial value

# An independent model of the station's file formats: the two parameter
# records, their CRC, and the 1 MiB card image with its scrambled sector 0.
HEAD = "cType cLength cVersion nUpdateFlag "
SYS_FIELDS = (HEAD + "cUnit cLocked acPassword acSerialNumber nEntityNo nCrc").split()
TOOL_FIELDS = (HEAD + "nVarSetT100mC nVarStandbyT100mC nVarCalT100mK cVarEnergy cFixEnabled "
               "anFixSetT100mC anFixStandbyT100mC anFixCalT100mK acFixEnergy cFixCnt "
               "cFixActualIdx cWakeup cStandbyTmMin cShutdownTmMin nCrc").split()
FORMATS = {0x61: "<BBBIBB16s16sHH", 0x62: "<BBBIhhhBB3h3h3h3BBBBBBH"}


def default_sys(**changes):
    return dict(zip(SYS_FIELDS, [0x61, 45, 1, 3, 1, 0, bytes(16), bytes(16), 1, None]), **changes)


def default_tool(**changes):
    return dict(zip(TOOL_FIELDS, [0x62, 43, 1, 0x38001B, 3600, 2500, 0, 3, 0, [3200, 3600, 4000],
                                  [2500] * 3, [0] * 3, [3] * 3, 3, 1, 1, 5, 10, None]), **changes)


def pack(record):
    values = [v for value in record.values() for v in (value if isinstance(value, list) else
                                                       [value or 0])]
    data = struct.pack(FORMATS[record["cType"]], *values)[:-2]
    return data + struct.pack("<H", crc_hqx(data, 0))


def crc_of(record):
    return int.from_bytes(pack(record)[-2:], "little")


def as_json(record):
    """The record as zoltcfg show --json prints it, as ordered pairs."""
    return [(name, crc_of(record) if name == "nCrc" else value.hex()
             if isinstance(value, bytes) else value) for name, value in record.items()]


def payload(sys_record, tool_record):
    header = bytes([0x60, 43, 1]) + bytes(38)
    header += struct.pack("<H", crc_hqx(header, 0))
    end = b"\0\4" + struct.pack("<H", crc_hqx(b"\0\4", 0))
    return header + pack(sys_record) + pack(tool_record) + end


def card(sys_record, tool_record):
    """The payload scrambled into sector 0 over the filler seeded with its CRC."""
    data = payload(sys_record, tool_record)
    state, image = crc_hqx(data, 0), bytearray(1 << 20)
    for i in range(len(image)):
        state = (state * 214013 + 2531011) & 0xFFFFFFFF
        image[i] = (state >> 16) & 0xFF
    for i, byte in enumerate(data):
        position = (193 - 222 * i) % 512
        image[position] = image[(position + 111) % 512] ^ image[(position - 111) % 512] ^ byte
    return bytes(image)


ZOLTCFG = os.environ.get("ZOLTCFG", "zoltcfg")
with open(os.path.join(os.environ.get("ZOLT_CORE_DATA", ""), "defaults.zlx"), "rb") as _file:
    REFERENCE, DEFAULT_DOC = _file.name, _file.read()
COMMANDS = ["show", "diff", "image", "settings", "defaults", "volumes", "write", "read"]
DEFAULT_CARD = card(default_sys(), default_tool())
DEFAULT_JSON = [("SysPar", as_json(default_sys())), ("ToolPar", as_json(default_tool()))]
# The Windows build under Wine (tests/windows/zoltcfg-wine): cases that need
# Unix devices, mount tables or byte names are left out, and reasons are the system's.
WINDOWS = bool(os.environ.get("ZOLTCFG_EXE"))


def run(*args, stdin="", stdout=subprocess.PIPE, **env):
    """Text in and out, unless stdin is bytes: then bytes."""
    result = subprocess.run([ZOLTCFG, *args], stdout=stdout, stderr=subprocess.PIPE, input=stdin,
                            text=not isinstance(stdin, bytes), env={**os.environ, **env})
    return result.returncode, result.stdout, result.stderr


def read(path):
    return pathlib.Path(path).read_bytes()


def document(system="", tool=""):
    return ('<?xml version="1.0" encoding="UTF-8"?>\n<zolt-settings>\n'
            f'<system-parameter version="1">{system}</system-parameter>\n'
            f'<tool-parameter version="1">{tool}</tool-parameter>\n</zolt-settings>\n')


class ToolTest(unittest.TestCase):
    def setUp(self):
        self.scratch = tempfile.TemporaryDirectory(prefix="zoltcfg-")
        self.addCleanup(self.scratch.cleanup)

    def path(self, name, data=None):
        path = pathlib.Path(self.scratch.name, name)
        if data is not None:
            path.write_bytes(data if isinstance(data, bytes) else data.encode())
        return str(path)

    def show_json(self, *args, stdin=""):
        code, out, err = run("show", "--json", *args, stdin=stdin)
        self.assertEqual((code, err), (0, type(err)()), args)
        return json.loads(out, object_pairs_hook=lambda items: items)


class Usage(ToolTest):
    def test_help_and_version(self):
        for flag in [("--help",), ("-h",), ("help",), ("help", "--help")]:
            code, out, err = run(*flag)
            self.assertEqual((code, err), (0, ""), flag)
            for command in COMMANDS:
                self.assertRegex(out, rf"\n  {command} +\S", command)
        self.assertEqual(run("--version"), (0, f"zoltcfg {os.environ['ZOLTCFG_VERSION']}\n", ""))
        for command in COMMANDS:
            for args in [(command, "--help"), (command, "-h"), ("help", command)]:
                code, out, err = run(*args)
                self.assertEqual((code, err), (0, ""), args)
                self.assertIn(f"Usage: zoltcfg {command} ", out)

    def test_wrong_arguments_are_usage_errors(self):
        a, b, c = self.path("a"), self.path("b"), self.path("c.zlx")
        for args in [(), ("frob",), ("--frob",), ("show",), ("show", a, b), ("show", "--jsn", a),
                     ("diff", a), ("image", a), ("image", a, b, c), ("settings",), ("defaults",),
                     ("defaults", "--json", c), ("volumes", a), ("write",), ("write", a, b, c),
                     ("read", a), ("read", a, b, c), ("help", "bogus"), ("help", "show", a),
                     ("defaults", "-"), ("defaults", "--format", "xml", c)]:
            code, out, err = run(*args)
            self.assertEqual((code, out), (2, ""), args)
            self.assertIn("Usage: zoltcfg", err, args)
        self.assertEqual(os.listdir(self.scratch.name), [])
        self.assertEqual(run("help", "show", a)[2].split("\n")[0],
                         f"zoltcfg: help takes one command, not '{a}'")

    @unittest.skipIf(WINDOWS, "needs a mount table")
    def test_volumes_lists_other_file_systems_only_when_asked(self):
        os.makedirs(self.path("proc/self"))
        self.path("proc/self/mountinfo", "21 1 8:1 / /media/u/DISK rw - vfat /dev/sda1 rw\n"
                                         "22 1 0:5 / /run rw - tmpfs tmpfs rw\n")
        listed = "Offered:\n  none\nNot offered:\n  /media/u/DISK: no block device found for "
        for args, tail in [((), "1 network, pseudo or system file systems not shown (--all lists "
                                "them)."), (("--all",), "  /run: file system tmpfs is not found "
                                                        "on cards")]:
            self.assertEqual(run("volumes", *args, ZOLT_SYSTEM_ROOT=self.scratch.name),
                             (0, f"{listed}/dev/sda1\n{tail}\n", ""))

    @unittest.skipIf(WINDOWS, "needs /dev/full")
    def test_output_that_does_not_arrive_is_a_failure(self):
        error = "zoltcfg: Can't write the file: standard output: No space left on device\n"
        changed = self.path("b.CFG", card(default_sys(cLocked=1), default_tool()))
        for args, code, message in [
                (("--help",), 1, error), (("--version",), 1, error), (("help", "diff"), 1, error),
                (("show", REFERENCE), 1, error), (("volumes",), 1, error),
                (("diff", REFERENCE, changed), 2, error),
                (("image", REFERENCE, "-"), 1, f"zoltcfg: Can't write the file: standard output "
                 "is not writable\n  reason is unknown.\n  standard output: No space left on "
                 "device\n"),
                (("defaults", "--format", "zlx", "-"), 1, "zoltcfg: Can't save the file: failed "
                 "to save the file.\n  standard output: No space left on device\n")]:
            with open("/dev/full", "w") as full:
                self.assertEqual(run(*args, stdout=full)[::2], (code, message), args)


class Defaults(ToolTest):
    def test_settings_document_and_card_image_by_name_or_format(self):
        # The model agrees with the station's published CRCs of the defaults.
        self.assertEqual((crc_of(default_sys()), crc_of(default_tool())), (0x883A, 0x9624))
        for name, expected, *format in [
                ("zolt1.zlx", DEFAULT_DOC), ("UPPER.ZLX", DEFAULT_DOC), ("ZOLT.CFG", DEFAULT_CARD),
                ("x.zlx.bak", DEFAULT_CARD), ("a.CFG", DEFAULT_DOC, "--format", "zlx"),
                ("b.zlx", DEFAULT_CARD, "--format", "cfg")]:
            self.assertEqual(run("defaults", *format, self.path(name)), (0, "", ""))
            self.assertEqual(read(self.path(name)), expected, name)
            if format:
                self.assertEqual(run("defaults", *format, "-", stdin=b""), (0, expected, b""))

    @unittest.skipIf(WINDOWS, "names there are UTF-16")
    def test_file_names_are_bytes_whatever_the_locale(self):
        for lang, name, kind in [("C", b"caf\xc3\xa9.zlx", b"settings document"),
                                 ("C.UTF-8", b"x\xff.CFG", b"card image")]:
            path, env = os.fsencode(self.scratch.name) + b"/" + name, {"LANG": lang, "LC_ALL": lang}
            self.assertEqual(run("defaults", path, stdin=b"", **env), (0, b"", b""))
            code, out, err = run("show", path, stdin=b"", **env)
            self.assertEqual((code, out.split(b"\n")[0], err), (0, path + b": " + kind, b""))
            self.assertEqual(run("settings", path + b"-", path, stdin=b"", **env), (
                1, b"", b"zoltcfg: Can't read the file: " + path + b"-: No such file or "
                        b"directory\n"))


class Image(ToolTest):
    def test_documents_as_the_editor_opens_them(self):
        for text, expected in [
                (DEFAULT_DOC.decode(), DEFAULT_CARD), ("<zolt-settings/>", DEFAULT_CARD),
                # Out of range: clamped, to the Fahrenheit limits 1489 ... 4500 (standby 3017).
                (document('<unit value="fahrenheit"/>', '<var-mode><var-set-temp value="1480"/>'
                          '<var-standby-temp value="9999"/><var-energy-level value="0"/>'
                          '</var-mode><fix-mode enabled="yes" count="7" actual-index="5">'
                          '<fix-set-temp value1="-5" value2="70000" value3="4501"/>'
                          '<fix-energy-level value1="9" value2="3" value3="2"/></fix-mode>'
                          '<standby-time value="61"/><shutdown-time value="5"/>'),
                 card(default_sys(cUnit=2), default_tool(
                     nVarSetT100mC=1489, nVarStandbyT100mC=3017, cVarEnergy=1, cFixCnt=3,
                     cFixActualIdx=2, anFixSetT100mC=[1489, 4464, 4500], acFixEnergy=[3, 3, 2],
                     cStandbyTmMin=60, cShutdownTmMin=10)))]:
            self.assertEqual(run("image", self.path("in", text), self.path("out")), (0, "", ""))
            self.assertEqual(read(self.path("out")), expected)
            self.assertEqual(run("image", "-", "-", stdin=text.encode()), (0, expected, b""))


class Settings(ToolTest):
    def test_card_records_are_written_as_they_are(self):
        out = self.path("out.zlx")
        self.assertEqual(run("settings", "-", "-", stdin=DEFAULT_CARD), (0, DEFAULT_DOC, b""))
        image = card(default_sys(nUpdateFlag=2, cLocked=1), default_tool(
            nUpdateFlag=0x3FC7F0, cFixEnabled=1, nVarSetT100mC=4200, cFixActualIdx=0,
            anFixSetT100mC=[1500, 2750, 4500], anFixStandbyT100mC=[1500, 2000, 3000],
            acFixEnergy=[1, 2, 3], cWakeup=0, cStandbyTmMin=0, cShutdownTmMin=240))
        # Only the first mebibyte of a card file is read.
        self.assertEqual(run("settings", self.path("in", image + b"\1"), out), (0, "", ""))
        self.assertEqual(run("image", out, self.path("back")), (0, "", ""))
        self.assertEqual(read(self.path("back")), image)


class Show(ToolTest):
    def test_json_and_text_give_every_field(self):
        sys_record = default_sys(nUpdateFlag=0x101, cUnit=0, acPassword=bytes(range(16)),
                                 acSerialNumber=b"\1" * 16, nEntityNo=65535)
        tool_record = default_tool(nUpdateFlag=0xC0000001, nVarStandbyT100mC=-5, cStandbyTmMin=0,
                                   nVarCalT100mK=-300, anFixCalT100mK=[-300, 0, 7], cFixCnt=0,
                                   acFixEnergy=[0, 255, 7], anFixStandbyT100mC=[-32768, 0, 32767])
        self.path("card", card(sys_record, tool_record))
        self.path("doc", document('<unit value="fahrenheit"/>'))
        self.assertEqual(self.show_json(self.path("card")),
                         [("SysPar", as_json(sys_record)), ("ToolPar", as_json(tool_record))])
        crc = "nCrc                 0x%04x  (correct)"
        for args, kind, lines in [
                (["card"], "card image", [
                    "nUpdateFlag          0x00000101  (Unit unknown 0x00000100)",
                    "cUnit                0  (invalid)", "acSerialNumber       " + "01" * 16,
                    "nUpdateFlag          0xc0000001  (VarSetT unknown 0xc0000000)",
                    "nVarStandbyT100mC    -5  (-0.5 \u00b0C)", "cType                0x62",
                    "anFixCalT100mK       -300 0 7  (-30.0 K, 0.0 K, 0.7 K)",
                    "cStandbyTmMin        0  (off)", "cShutdownTmMin       10  (10 min)",
                    crc % crc_of(sys_record), crc % crc_of(tool_record)]),
                (["doc"], "settings document", [
                    "cUnit                2  (fahrenheit)", crc % crc_of(default_sys(cUnit=2))]),
                (["--unchecked", "doc"], "settings document", [
                    "nUpdateFlag          0x00000003  (Unit Locked)", "cVarEnergy           3",
                    "nCrc                 0x883a  (wrong, the bytes give 0x%04x)"
                    % crc_of(default_sys(cUnit=2)), "nVarSetT100mC        3600  (360.0 \u00b0C)"])]:
            code, out, err = run("show", *args[:-1], self.path(args[-1]))
            self.assertEqual((code, err), (0, ""))
            out = out.splitlines()
            self.assertEqual(out[:2], [f"{self.path(args[-1])}: {kind}", "SysPar"])
            self.assertEqual(out[2 + len(SYS_FIELDS)], "ToolPar")
            fields = [line[2:] for line in out if line.startswith("  ")]
            self.assertEqual([line.split()[0] for line in fields], SYS_FIELDS + TOOL_FIELDS)
            self.assertEqual(set(lines) - set(fields), set(), args)

    def test_content_decides_the_kind(self):
        # A byte-order mark or white space before the root (no declaration
        # then), under a name that suggests a card.
        for head in ["\ufeff", " \r\n\t"]:
            text = head + DEFAULT_DOC.decode().split("\n", 1)[1]
            self.assertEqual(self.show_json(self.path("ZOLT.CFG", text.encode())), DEFAULT_JSON)
        # A card whose filler happens to open with "<" is read as a card.
        sys_record = next(default_sys(nEntityNo=n) for n in range(65536) if (crc_hqx(payload(
            default_sys(nEntityNo=n), default_tool()), 0) * 214013 + 2531011) >> 16 & 0xFF == 0x3C)
        path = self.path("card.zlx", card(sys_record, default_tool()))
        self.assertEqual(self.show_json(path)[0], ("SysPar", as_json(sys_record)))
        # Documents in UTF-16, with a byte-order mark or a declared order.
        for code, declared, bom in [("utf-16-le", "UTF-16", "\ufeff"), ("utf-16-be", "UTF-16",
                                     "\ufeff"), ("utf-16-le", "UTF-16LE", ""),
                                    ("utf-16-be", "UTF-16BE", "")]:
            text = bom + DEFAULT_DOC.decode().replace('"UTF-8"', f'"{declared}"')
            self.assertEqual(self.show_json(self.path("d", text.encode(code))), DEFAULT_JSON, code)

    def test_standard_input_is_read_whole_up_to_a_mebibyte(self):
        for data in [DEFAULT_DOC, DEFAULT_CARD + bytes(4096)]:
            for name in ["-"] + ([] if WINDOWS else ["/dev/stdin"]):
                self.assertEqual(self.show_json(name, stdin=data), DEFAULT_JSON, name)
            self.assertEqual(run("diff", "-", REFERENCE, stdin=data), (0, b"", b""))
        self.assertEqual(run("show", "-", stdin=DEFAULT_CARD)[1].split(b"\n")[0],
                         b"standard input: card image")


class Diff(ToolTest):
    def test_equal_records_then_one_line_per_differing_field(self):
        a = self.path("a.CFG", DEFAULT_CARD)
        self.assertEqual(run("diff", REFERENCE, a), (0, "", ""))
        tool_record = default_tool(nVarSetT100mC=4000, acFixEnergy=[3, 1, 3], cWakeup=0)
        b = self.path("b.CFG", card(default_sys(cUnit=2), tool_record))
        self.assertEqual(run("diff", REFERENCE, b), (1, "\n".join([
            "SysPar.cUnit: 1 -> 2", "SysPar.nCrc: 0x883a -> 0x%04x" % crc_of(default_sys(cUnit=2)),
            "ToolPar.nVarSetT100mC: 3600 -> 4000", "ToolPar.acFixEnergy: 3 3 3 -> 3 1 3",
            "ToolPar.cWakeup: 1 -> 0", "ToolPar.nCrc: 0x9624 -> 0x%04x\n" % crc_of(tool_record)]),
            ""))

    def test_failures_name_the_file(self):
        bad = self.path("bad.zlx", document('<unit value="Centigrade"/>'))
        # Trouble is 2, as with diff and cmp.
        for args, message in [
                ((bad, REFERENCE), f"{bad}: File is corrupted: failed to read the settings."),
                (("-", "-"), "Can't read the file: standard input can be compared only once.")]:
            self.assertEqual(run("diff", *args), (2, "", f"zoltcfg: {message}\n"))


class Failures(ToolTest):
    def test_inputs_that_do_not_read(self):
        damaged = bytearray(DEFAULT_CARD)
        damaged[(193 - 222 * 63) % 512] ^= 0x10  # a byte inside the SysPar record
        unread = "Can't read the file: failed to load the file."
        corrupt, none = "failed to read the settings.", "{} holds no parameter records."
        for name, data, message in [
                ("short.CFG", DEFAULT_CARD[:1000], "{} read wrong\n  file size."),
                ("text.CFG", " not settings", "{} read wrong\n  file size."),
                ("empty.CFG", b"", none), ("zero.CFG", bytes(512), none),
                ("damaged.CFG", bytes(damaged), none),
                ("broken.zlx", "<zolt-settings><system-parameter></zolt-settings>", unread),
                # Too deep or too large, also through an entity: a document from a
                # pipe is screened as one from a file.
                ("deep.zlx", "<a>" * 40 + "</a>" * 40, unread),
                ("entity.zlx", '<!DOCTYPE a [<!ENTITY e "%s">]><a>&e;</a>'
                 % ("<a>" * 40 + "</a>" * 40), unread),
                ("big.zlx", DEFAULT_DOC.decode() + " " * 65536, unread),
                ("corrupt.zlx", document('<unit value="Centigrade"/>'), corrupt),
                ("count.zlx", document("", '<fix-mode count=""/>'), corrupt)]:
            message = message if message == unread else "File is corrupted: " + message
            data = data if isinstance(data, bytes) else data.encode()
            command = "settings" if name.endswith(".CFG") else "image"
            for args in [(command, self.path(name, data), self.path("out")), ("show", "-")]:
                where = "standard input" if args[1] == "-" else args[1]
                self.assertEqual(run(*args, stdin=data), (
                    1, b"", f"zoltcfg: {message}\n".format(where).encode()), args)
        self.assertNotIn("out", os.listdir(self.scratch.name))

    def test_inputs_that_do_not_open_say_why_on_every_command(self):
        os.mkdir(self.path("folder.zlx"))
        os.symlink("loop.CFG", self.path("loop.CFG"))
        os.chmod(self.path("secret.zlx", DEFAULT_DOC), 0)
        cases = [("missing.zlx", ": No such file or directory"),
                 ("folder.zlx", " is a folder, not a file.")]
        if not WINDOWS:  # Windows knows neither reason
            cases += [("short.CFG/x", ": Not a directory"),
                      ("loop.CFG", ": Too many levels of symbolic links")]
        if os.geteuid() != 0:  # root reads anything
            cases.append(("secret.zlx", ": Permission denied"))
        self.path("short.CFG", DEFAULT_CARD[:1000])
        for name, why in cases:
            path = self.path(name)
            message = f"zoltcfg: Can't read the file: {path}{why}\n"
            for args in [("show", path), ("settings", path, self.path("o")),
                         ("image", path, self.path("o")), ("write", path)]:
                self.assertEqual(run(*args), (1, "", message), args)
            self.assertEqual(run("diff", REFERENCE, path), (2, "", message))
        self.assertNotIn("o", os.listdir(self.scratch.name))

    def test_an_output_that_is_an_input_is_refused(self):
        self.path("in.zlx", DEFAULT_DOC)
        os.link(self.path("in.CFG", DEFAULT_CARD), self.path("hard.CFG"))
        os.symlink("in.zlx", self.path("link.zlx"))
        for command, source, target in [
                ("image", "in.zlx", "in.zlx"), ("image", "in.zlx", "link.zlx"),
                ("image", "link.zlx", "./in.zlx"), ("settings", "in.CFG", "hard.CFG")]:
            title = "Can't write the file" if command == "image" else "Can't save the file"
            self.assertEqual(run(command, self.path(source), self.path(target)), (
                1, "", f"zoltcfg: {title}: {self.path(target)} is the input file as well;\n"
                       "  nothing was written.\n"))
        self.assertEqual((read(self.path("in.zlx")), read(self.path("in.CFG"))),
                         (DEFAULT_DOC, DEFAULT_CARD))

    def test_outputs_that_cannot_be_written(self):
        # The system's reason follows the editor's message.
        card_out, doc_out = self.path("nowhere/ZOLT.CFG"), self.path("nowhere/x.zlx")
        for path, message in [(card_out, f"Can't write the file: {card_out} is not writable\n  "
                                         "reason is unknown.\n"),
                              (doc_out, "Can't save the file: failed to save the file.\n")]:
            code, out, err = run("defaults", path)
            message = f"zoltcfg: {message}  No such "
            self.assertEqual((code, out, err[:len(message)]), (1, "", message), path)
            self.assertRegex(err[len(message):], r"^\S.*\n$", path)
        self.assertEqual(os.listdir(self.scratch.name), [])


if __name__ == "__main__":
    suite = unittest.TestSuite(unittest.defaultTestLoader.loadTestsFromTestCase(globals()[group])
                               for group in sys.argv[1:])
    sys.exit(0 if unittest.TextTestRunner(verbosity=2).run(suite).wasSuccessful() else 1)
