"""Starts a program and prints the milliseconds from its start until its first
window is mapped on the X display, the processor time it had used by then (in
ms; less sensitive to a busy machine), and its resident memory in KiB half a
second later. Usage: startup-watch.py PROGRAM [ARGS...]"""
import ctypes
import ctypes.util
import os
import signal
import subprocess
import sys
import time

MAP_NOTIFY = 19
SUBSTRUCTURE_NOTIFY_MASK = 1 << 19

x11 = ctypes.cdll.LoadLibrary(ctypes.util.find_library("X11"))
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
x11.XPending.argtypes = [ctypes.c_void_p]
x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]


class MapEvent(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                ("override_redirect", ctypes.c_int), ("pad", ctypes.c_char * 160)]


def rss_kib(pid):
    with open("/proc/%d/status" % pid) as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def cpu_ms(pid):
    with open("/proc/%d/stat" % pid) as stat:
        fields = stat.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) * 1000.0 / os.sysconf("SC_CLK_TCK")


def main():
    dpy = x11.XOpenDisplay(None)
    if not dpy:
        sys.exit("startup-watch: no X display")
    x11.XSelectInput(dpy, x11.XDefaultRootWindow(dpy), SUBSTRUCTURE_NOTIFY_MASK)
    x11.XSync(dpy, 0)
    t0 = time.monotonic()
    proc = subprocess.Popen(sys.argv[1:], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    event = MapEvent()
    mapped = None
    while mapped is None and time.monotonic() - t0 < 20:
        while x11.XPending(dpy):
            x11.XNextEvent(dpy, ctypes.byref(event))
            if event.type == MAP_NOTIFY and not event.override_redirect:
                mapped = time.monotonic()
                break
        else:
            time.sleep(0.0005)
    if mapped is not None:
        cpu = cpu_ms(proc.pid)
    else:
        proc.kill()
        sys.exit("startup-watch: no window from %s" % sys.argv[1])
    time.sleep(0.5)
    rss = rss_kib(proc.pid)
    proc.send_signal(signal.SIGTERM)
    try:
        proc.wait(5)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
    print("%.1f %.0f %d" % ((mapped - t0) * 1000.0, cpu, rss))


main()
