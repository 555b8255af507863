"""An independent model of the station's file formats for the zoltcfg tests:
the two parameter records, their CRC, and the 1 MiB card image with its
scrambled sector 0."""

import struct

SYS_FORMAT = "<BBBIBB16s16sHH"
TOOL_FORMAT = "<BBBIhhhBB3h3h3h3BBBBBBH"
SYS_FIELDS = ["cType", "cLength", "cVersion", "nUpdateFlag", "cUnit", "cLocked",
              "acPassword", "acSerialNumber", "nEntityNo", "nCrc"]
TOOL_FIELDS = ["cType", "cLength", "cVersion", "nUpdateFlag", "nVarSetT100mC",
               "nVarStandbyT100mC", "nVarCalT100mK", "cVarEnergy", "cFixEnabled",
               "anFixSetT100mC", "anFixStandbyT100mC", "anFixCalT100mK", "acFixEnergy",
               "cFixCnt", "cFixActualIdx", "cWakeup", "cStandbyTmMin", "cShutdownTmMin", "nCrc"]
IMAGE_SIZE = 1 << 20


def crc16(data):
    crc = 0
    for byte in data:
        crc ^= byte << 8
        for _ in range(8):
            crc = ((crc << 1) ^ 0x1021 if crc & 0x8000 else crc << 1) & 0xFFFF
    return crc


def default_sys(**changes):
    return dict({"cType": 0x61, "cLength": 45, "cVersion": 1, "nUpdateFlag": 3, "cUnit": 1,
                 "cLocked": 0, "acPassword": bytes(16), "acSerialNumber": bytes(16),
                 "nEntityNo": 1, "nCrc": None}, **changes)


def default_tool(**changes):
    return dict({"cType": 0x62, "cLength": 43, "cVersion": 1, "nUpdateFlag": 0x38001B,
                 "nVarSetT100mC": 3600, "nVarStandbyT100mC": 2500, "nVarCalT100mK": 0,
                 "cVarEnergy": 3, "cFixEnabled": 0, "anFixSetT100mC": [3200, 3600, 4000],
                 "anFixStandbyT100mC": [2500, 2500, 2500], "anFixCalT100mK": [0, 0, 0],
                 "acFixEnergy": [3, 3, 3], "cFixCnt": 3, "cFixActualIdx": 1, "cWakeup": 1,
                 "cStandbyTmMin": 5, "cShutdownTmMin": 10, "nCrc": None}, **changes)


def pack(record):
    """Record dict to bytes; a CRC of None is computed."""
    fmt, fields = (SYS_FORMAT, SYS_FIELDS) if record["cType"] == 0x61 else (TOOL_FORMAT,
                                                                              TOOL_FIELDS)
    values = []
    for name in fields:
        value = record[name]
        values.extend(value if isinstance(value, list) else [value or 0])
    data = struct.pack(fmt, *values)
    if record["nCrc"] is None:
        data = data[:-2] + struct.pack("<H", crc16(data[:-2]))
    return data


def crc_of(record):
    return int.from_bytes(pack(record)[-2:], "little")


def as_json(record):
    """The record as zoltcfg show --json prints it, as ordered pairs."""
    fmt, fields = (SYS_FORMAT, SYS_FIELDS) if record["cType"] == 0x61 else (TOOL_FORMAT,
                                                                              TOOL_FIELDS)
    values = list(struct.unpack(fmt, pack(record)))
    pairs = []
    for name in fields:
        count = 3 if name.startswith(("an", "acFix")) else 1
        value = values[:count] if count == 3 else values[0]
        values = values[count:]
        pairs.append((name, value.hex() if isinstance(value, bytes) else value))
    return pairs


def positions():
    position, result = 193, []
    for _ in range(256):
        result.append(position)
        position = (position - 222) % 512
    return result


def payload_of(sys_record, tool_record):
    """Header, records and terminator, as sector 0 carries them."""
    header = bytes([0x60, 43, 1]) + bytes(38)
    header += struct.pack("<H", crc16(header))
    terminator = bytes([0, 4]) + struct.pack("<H", crc16(bytes([0, 4])))
    return header + pack(sys_record) + pack(tool_record) + terminator


def card(sys_record, tool_record):
    """The image of the records: the payload scrambled into sector 0 over the
    filler seeded with the payload's CRC."""
    payload = payload_of(sys_record, tool_record)
    state = crc16(payload)
    image = bytearray(IMAGE_SIZE)
    for i in range(IMAGE_SIZE):
        state = (state * 214013 + 2531011) & 0xFFFFFFFF
        image[i] = (state >> 16) & 0xFF
    for byte, position in zip(payload, positions()):
        image[position] = image[(position + 111) % 512] ^ image[(position - 111) % 512] ^ byte
    return bytes(image)
