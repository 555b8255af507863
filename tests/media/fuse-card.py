#!/usr/bin/python3
'''fuse-card.py MOUNTPOINT IMAGE CONTROL_DIR serves ZOLT.CFG (IMAGE) over /dev/fuse, but
not opens and reads while CONTROL_DIR holds "hang-open", nothing while it holds "hang".'''
import ctypes, errno, os, struct, sys

mount_point, image_path, control = sys.argv[1:4]
image = open(image_path, 'rb').read()
fd = os.open('/dev/fuse', os.O_RDWR)
libc = ctypes.CDLL(None, use_errno=True)
options = f'fd={fd},rootmode=40000,user_id=0,group_id=0,allow_other'.encode()
if libc.mount(b'zoltcard', mount_point.encode(), b'fuse.zoltcard', 6, options) != 0:  # nosuid, nodev
    sys.exit(f'mount: {os.strerror(ctypes.get_errno())}')

ROOT, FILE = 1, 2
LOOKUP, GETATTR, OPEN, READ, STATFS, INIT, OPENDIR = 1, 3, 14, 15, 17, 26, 27
NO_REPLY, EMPTY_REPLY = {2, 36, 42}, {18, 25, 28, 29}  # forgets, interrupt; releases, flush, readdir


def attr(node):
    size = len(image) if node == FILE else 0
    mode = 0o100644 if node == FILE else 0o40755
    return struct.pack('<6Q10I', node, size, (size + 511) // 512, 0, 0, 0, 0, 0, 0, mode, 1, 0,
                       0, 0, 512, 0)


def answer(opcode, node, body):
    '''(error, reply body); validity times are 0, so every look at the card comes here.'''
    if opcode == INIT:
        readahead = struct.unpack_from('<III', body)[2]
        return 0, struct.pack('<IIIIHHIIHHI7I', 7, 26, readahead, 0, 16, 12, 131072, 1, 0, 0, 0,
                              *[0] * 7)
    if opcode == GETATTR:
        return 0, struct.pack('<QII', 0, 0, 0) + attr(node)
    if opcode == LOOKUP:
        if node != ROOT or body.rstrip(b'\0') != b'ZOLT.CFG':
            return -errno.ENOENT, b''
        return 0, struct.pack('<QQQQII', FILE, 0, 0, 0, 0, 0) + attr(FILE)
    if opcode == STATFS:
        return 0, struct.pack('<5Q4I6I', 122000, 120000, 120000, 0, 0, 512, 255, 512, 0, *[0] * 6)
    if opcode in (OPEN, OPENDIR):
        return 0, struct.pack('<QII', 0, 0, 0)
    if opcode == READ:
        _, offset, size = struct.unpack_from('<QQI', body)
        return 0, image[offset:offset + size] if node == FILE else b''
    return (0 if opcode in EMPTY_REPLY else -errno.ENOSYS), b''


while True:
    try:
        request = os.read(fd, 1 << 18)
    except OSError as e:
        if e.errno in (errno.EINTR, errno.ENOENT):
            continue
        break  # unmounted
    length, opcode, unique, node = struct.unpack_from('<IIQQ', request)
    hang = 'hang-open' if opcode in (OPEN, READ) else 'hang'
    if opcode in NO_REPLY or os.path.exists(control + '/hang') or os.path.exists(control + '/' + hang):
        continue
    error, body = answer(opcode, node, request[40:length])
    try:
        os.write(fd, struct.pack('<IiQ', 16 + len(body), error, unique) + body)
    except OSError:
        pass  # the request was interrupted
