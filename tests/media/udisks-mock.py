'''A stand-in for udisks2 with one card reader holding one FAT partition, kept in the mount
table of the test's system root. In the test folder, "refuse" and "busy" script failures.'''
import dbus, dbusmock

U = 'org.freedesktop.UDisks2'
BUS_NAME, MAIN_OBJ, MAIN_IFACE = U, '/org/freedesktop/UDisks2', U + '.Manager'
SYSTEM_BUS = IS_OBJECT_MANAGER = True
FS = U + '.Filesystem'

MOUNT = '''import os
if os.path.exists(%(dir)r + '/refuse'):
    raise dbus.exceptions.DBusException('Not authorized', name=%(U)r + '.Error.NotAuthorizedCanObtain')
mp = %(dir)r + '/media/ZCARD'
os.makedirs(mp, exist_ok=True)
with open(%(dir)r + '/root/proc/self/mountinfo', 'a') as f:
    f.write('40 1 8:17 / ' + mp + ' rw,nosuid,nodev - vfat /dev/sdb1 rw\\n')
self.Set(%(FS)r, 'MountPoints', dbus.Array([dbus.ByteArray(mp.encode() + b'\\0')], signature='ay'))
ret = mp'''

UNMOUNT = '''import os
if os.path.exists(%(dir)r + '/busy'):
    raise dbus.exceptions.DBusException('target is busy', name=%(U)r + '.Error.DeviceBusy')
with open(%(dir)r + '/root/proc/self/mountinfo') as f:
    lines = [l for l in f if ' 8:17 ' not in l]
with open(%(dir)r + '/root/proc/self/mountinfo', 'w') as f:
    f.writelines(lines)
self.Set(%(FS)r, 'MountPoints', dbus.Array([], signature='ay'))'''


def load(mock, parameters):
    names = {'dir': parameters['dir'], 'U': U, 'FS': FS}
    drive, block = MAIN_OBJ + '/drives/Card_Reader', MAIN_OBJ + '/block_devices/sdb1'
    mock.AddObject(drive, U + '.Drive', {'Removable': True, 'MediaRemovable': True, 'CanPowerOff': True},
                   [('PowerOff', 'a{sv}', '', "open(%(dir)r + '/powered-off', 'w').close()" % names)])
    mock.AddObject(block, U + '.Block', {
        'Device': dbus.ByteArray(b'/dev/sdb1\0'), 'PreferredDevice': dbus.ByteArray(b'/dev/sdb1\0'),
        'Drive': dbus.ObjectPath(drive), 'IdUsage': 'filesystem', 'IdType': 'vfat', 'IdLabel': 'ZCARD',
    }, [])
    obj = dbusmock.mockobject.get_object(block)
    obj.AddProperties(FS, {'MountPoints': dbus.Array([], signature='ay')})
    obj.AddMethod(FS, 'Mount', 'a{sv}', 's', MOUNT % names)
    obj.AddMethod(FS, 'Unmount', 'a{sv}', '', UNMOUNT % names)
