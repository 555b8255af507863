'''A stand-in for udisks2 with one USB card reader holding one FAT partition.
Mounting adds it to the mount table of the test's system root, unmounting
takes it away. Files in the test folder script the answers: "refuse" makes
polkit say no, "busy" keeps the file system in use.'''
import dbus, dbusmock

BUS_NAME = 'org.freedesktop.UDisks2'
MAIN_OBJ = '/org/freedesktop/UDisks2'
MAIN_IFACE = 'org.freedesktop.UDisks2.Manager'
SYSTEM_BUS = True
IS_OBJECT_MANAGER = True

BLOCK = 'org.freedesktop.UDisks2.Block'
FS = 'org.freedesktop.UDisks2.Filesystem'
DRIVE = 'org.freedesktop.UDisks2.Drive'
ERR = 'org.freedesktop.UDisks2.Error.'

MOUNT = '''
d = %(dir)r
if os.path.exists(d + '/refuse'):
    raise dbus.exceptions.DBusException('Not authorized to perform operation', name=%(err)r + 'NotAuthorizedCanObtain')
mp = d + '/media/ZCARD'
os.makedirs(mp, exist_ok=True)
with open(d + '/root/proc/self/mountinfo', 'a') as f:
    f.write('40 1 8:17 / ' + mp + ' rw,nosuid,nodev - vfat /dev/sdb1 rw\\n')
self.Set(%(fs)r, 'MountPoints', dbus.Array([dbus.ByteArray(mp.encode() + b'\\0')], signature='ay'))
ret = mp
'''

UNMOUNT = '''
d = %(dir)r
if os.path.exists(d + '/busy'):
    raise dbus.exceptions.DBusException('target is busy', name=%(err)r + 'DeviceBusy')
with open(d + '/root/proc/self/mountinfo') as f:
    lines = [l for l in f if ' 8:17 ' not in l]
with open(d + '/root/proc/self/mountinfo', 'w') as f:
    f.writelines(lines)
self.Set(%(fs)r, 'MountPoints', dbus.Array([], signature='ay'))
'''

POWER_OFF = "open(%(dir)r + '/powered-off', 'w').close()"


def load(mock, parameters):
    names = {'dir': parameters['dir'], 'err': ERR, 'fs': FS}
    drive = MAIN_OBJ + '/drives/Card_Reader'
    mock.AddObject(drive, DRIVE, {'Removable': True, 'MediaRemovable': True, 'CanPowerOff': True},
                   [('PowerOff', 'a{sv}', '', POWER_OFF % names)])
    block = MAIN_OBJ + '/block_devices/sdb1'
    mock.AddObject(block, BLOCK, {
        'Device': dbus.ByteArray(b'/dev/sdb1\0'),
        'PreferredDevice': dbus.ByteArray(b'/dev/sdb1\0'),
        'Drive': dbus.ObjectPath(drive),
        'IdUsage': 'filesystem',
        'IdType': 'vfat',
        'IdLabel': 'ZCARD',
    }, [])
    obj = dbusmock.mockobject.get_object(block)
    obj.AddProperties(FS, {'MountPoints': dbus.Array([], signature='ay')})
    obj.AddMethod(FS, 'Mount', 'a{sv}', 's', 'import os\n' + MOUNT % names)
    obj.AddMethod(FS, 'Unmount', 'a{sv}', '', 'import os\n' + UNMOUNT % names)
