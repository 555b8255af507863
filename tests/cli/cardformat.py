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
ARRAYS = {"anFixSetT100mC", "anFixStandbyT100mC", "anFixCalT100mK", "acFixEnergy"}

IMAGE_SIZE = 1 << 20

assert struct.calcsize(SYS_FORMAT) == 45 and struct.calcsize(TOOL_FORMAT) == 43


def crc16(data):
    crc = 0
    for byte in data:
        crc ^= byte << 8
        for _ in range(8):
            crc = ((crc << 1) ^ 0x1021 if crc & 0x8000 else crc << 1) & 0xFFFF
    return crc


def default_sys():
    return {"cType": 0x61, "cLength": 45, "cVersion": 1, "nUpdateFlag": 3, "cUnit": 1,
            "cLocked": 0, "acPassword": bytes(16), "acSerialNumber": bytes(16),
            "nEntityNo": 1, "nCrc": None}


def default_tool():
    return {"cType": 0x62, "cLength": 43, "cVersion": 1, "nUpdateFlag": 0x38001B,
            "nVarSetT100mC": 3600, "nVarStandbyT100mC": 2500, "nVarCalT100mK": 0,
            "cVarEnergy": 3, "cFixEnabled": 0, "anFixSetT100mC": [3200, 3600, 4000],
            "anFixStandbyT100mC": [2500, 2500, 2500], "anFixCalT100mK": [0, 0, 0],
            "acFixEnergy": [3, 3, 3], "cFixCnt": 3, "cFixActualIdx": 1, "cWakeup": 1,
            "cStandbyTmMin": 5, "cShutdownTmMin": 10, "nCrc": None}


def pack(record, fmt, fields):
    """Record dict to bytes; a CRC of None is computed."""
    values = []
    for name in fields:
        value = record[name]
        if name in ARRAYS:
            values.extend(value)
        elif name == "nCrc":
            values.append(0 if value is None else value)
        else:
            values.append(value)
    data = struct.pack(fmt, *values)
    if record["nCrc"] is None:
        data = data[:-2] + struct.pack("<H", crc16(data[:-2]))
    return data


def unpack(data, fmt, fields):
    values = list(struct.unpack(fmt, data))
    record = {}
    for name in fields:
        if name in ARRAYS:
            record[name], values = values[:3], values[3:]
        else:
            record[name], values = values[0], values[1:]
    return record


def pack_sys(record):
    return pack(record, SYS_FORMAT, SYS_FIELDS)


def pack_tool(record):
    return pack(record, TOOL_FORMAT, TOOL_FIELDS)


def positions():
    position, result = 193, []
    for _ in range(256):
        result.append(position)
        position = (position - 222) % 512
    return result


def frame(record_type, body_length):
    data = bytes([record_type, body_length + 5, 1]) + bytes(body_length)
    return data + struct.pack("<H", crc16(data))


def build_image(sys_bytes, tool_bytes):
    header = frame(0x60, 38)
    terminator = bytes([0, 4])
    terminator += struct.pack("<H", crc16(terminator))
    payload = header + sys_bytes + tool_bytes + terminator
    state = crc16(payload)
    image = bytearray(IMAGE_SIZE)
    for i in range(IMAGE_SIZE):
        state = (state * 214013 + 2531011) & 0xFFFFFFFF
        image[i] = (state >> 16) & 0xFF
    for byte, position in zip(payload, positions()):
        image[position] = image[(position + 111) % 512] ^ image[(position - 111) % 512] ^ byte
    return bytes(image)


def read_image(image):
    """The SysPar and ToolPar bytes of sector 0, or None where missing."""
    sector = image[:512].ljust(512, b"\0")
    payload = bytes(sector[p] ^ sector[(p + 111) % 512] ^ sector[(p - 111) % 512]
                    for p in positions())
    if payload[0] != 0x60:
        return None, None
    found = {}
    offset = 0
    while offset + 2 <= len(payload):
        record_type, length = payload[offset], payload[offset + 1]
        if length < 2 or offset + length > len(payload):
            break
        record = payload[offset:offset + length]
        if crc16(record[:-2]) != struct.unpack("<H", record[-2:])[0]:
            return None, None
        if record_type in (0x61, 0x62):
            found[record_type] = record[:45 if record_type == 0x61 else 43]
        elif record_type not in (0x60, 0x64):
            break
        offset += length
    return found.get(0x61), found.get(0x62)


def to_json(sys_record, tool_record):
    """The JSON object zoltcfg show --json prints, as ordered pairs."""
    def convert(record, fields):
        pairs = []
        for name in fields:
            value = record[name]
            if isinstance(value, bytes):
                value = value.hex()
            pairs.append((name, value))
        return pairs
    return [("SysPar", convert(sys_record, SYS_FIELDS)),
            ("ToolPar", convert(tool_record, TOOL_FIELDS))]
