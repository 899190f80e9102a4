#!/usr/bin/env python3
"""Prints the title of every window the window manager knows, one a line, read straight from
the X server (libX11 through ctypes), so that the fresh-system check needs no X tools beyond
the server and the window manager."""
import ctypes, ctypes.util, sys
x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XDefaultRootWindow.restype = ctypes.c_ulong
x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XGetWindowProperty.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long,
    ctypes.c_long, ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
    ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_ulong),
    ctypes.POINTER(ctypes.c_void_p)]
x.XFree.argtypes = [ctypes.c_void_p]
d = x.XOpenDisplay(None)
if not d:
    sys.exit("no display")
def prop(w, name):
    t, f, n, a, p = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_void_p()
    if x.XGetWindowProperty(d, w, x.XInternAtom(d, name, 0), 0, 65536, 0, 0, ctypes.byref(t),
                            ctypes.byref(f), ctypes.byref(n), ctypes.byref(a), ctypes.byref(p)) or not p.value:
        return f.value, b""
    size = {8: 1, 16: ctypes.sizeof(ctypes.c_short), 32: ctypes.sizeof(ctypes.c_long)}[f.value]
    data = ctypes.string_at(p, n.value * size)
    x.XFree(p)
    return f.value, data
_, ids = prop(x.XDefaultRootWindow(d), b"_NET_CLIENT_LIST")
for w in memoryview(ids).cast("L"):
    print(prop(w, b"_NET_WM_NAME")[1].decode("utf-8", "replace"))
