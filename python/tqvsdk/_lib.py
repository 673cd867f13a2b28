"""Finding and loading the libraries; result codes, errors, texts and the records of the C
interface."""

import ctypes
import dataclasses
import enum
import os
import threading

from . import _generated

LIBRARY_DIR_VARIABLE = "TQVSDK_LIBRARY_DIR"
SDK_NAME = "libtqvSDK.so.1"
BRIDGE_NAME = "libtqvBridge.so.1"
PARAMTREE_NAME = "libParamTree.so.1"

try:  # written by the build (the build tree's libraries) or the installation (its libdir)
    from ._where import LIBRARY_DIR as _RECORDED_DIR
except ImportError:
    _RECORDED_DIR = None


class Libraries:
    """The loaded libraries: sdk (libtqvSDK), bridge (libtqvBridge), paramtree (libParamTree)."""

    def __init__(self, sdk, bridge, paramtree, directory):
        self.sdk, self.bridge, self.paramtree, self.directory = sdk, bridge, paramtree, directory


_loaded = None
_load_lock = threading.Lock()


def search_directories():
    """Where the libraries are looked for, in order; after these the system's own search."""
    package = os.path.dirname(os.path.abspath(__file__))
    candidates = [os.environ.get(LIBRARY_DIR_VARIABLE), _RECORDED_DIR, package]
    return [directory for directory in candidates if directory]


def libraries():
    """Loads the libraries on first use: from the first search directory that holds
    libtqvSDK.so.1 and libtqvBridge.so.1, else by name through the system's search path."""
    global _loaded
    with _load_lock:
        if _loaded is None:
            _loaded = _load()
        return _loaded


def _load():
    tried = []
    for directory in search_directories():
        sdk_path = os.path.join(directory, SDK_NAME)
        bridge_path = os.path.join(directory, BRIDGE_NAME)
        if os.path.exists(sdk_path) and os.path.exists(bridge_path):
            # libtqvSDK first: the bridge's dependency then resolves to this very library.
            sdk = ctypes.CDLL(sdk_path)
            return _finish(sdk, ctypes.CDLL(bridge_path), directory)
        tried.append(directory)
    try:
        sdk = ctypes.CDLL(SDK_NAME)
        bridge = ctypes.CDLL(BRIDGE_NAME)
    except OSError as error:
        raise OSError(
            f"tqvsdk cannot find {SDK_NAME} and {BRIDGE_NAME} (looked in "
            f"{', '.join(tried) or 'no directory'} and the system's library path: {error}); "
            f"set {LIBRARY_DIR_VARIABLE} to the directory that holds them") from None
    return _finish(sdk, bridge, None)


def _finish(sdk, bridge, directory):
    # libParamTree is a dependency of libtqvSDK and already loaded: opening it by its name
    # finds that copy.
    paramtree = ctypes.CDLL(PARAMTREE_NAME)
    sdk.tqvErrorToString.argtypes = [ctypes.c_uint32]
    sdk.tqvErrorToString.restype = ctypes.c_char_p
    sdk.tqvFree.argtypes = [ctypes.c_void_p]
    sdk.tqvFree.restype = None
    return Libraries(sdk, bridge, paramtree, directory)


# ------------------------------------------------------------------------------ texts

def encode_text(value, name="text"):
    """A text argument: str (UTF-8), bytes or a path-like object; no NUL inside."""
    if isinstance(value, str):
        data = value.encode("utf-8", "surrogateescape")
    elif isinstance(value, bytes):
        data = value
    elif isinstance(value, os.PathLike):
        data = os.fsencode(value)
    else:
        raise TypeError(f"{name} must be a text, not {type(value).__name__}")
    if b"\0" in data:
        raise ValueError(f"{name} holds a NUL character")
    return data


def decode_text(data):
    return data.decode("utf-8", "surrogateescape")


# ------------------------------------------------------------------------------ result codes

Result = enum.IntEnum("Result", dict(_generated.RESULT_CODES), module="tqvsdk")
Result.__doc__ = "The result codes of the library."


def error_text(code):
    """The library's text of a result code (tqvErrorToString)."""
    text = libraries().sdk.tqvErrorToString(code & 0xFFFFFFFF)
    return decode_text(text) if text is not None else ""


class TqvError(Exception):
    """A result code other than TQV_OK. code is the code (a Result where it is one of them),
    text the library's text for it, function the C function that answered it."""

    __module__ = "tqvsdk"

    def __init__(self, code, function=None):
        try:
            self.code = Result(code)
        except ValueError:  # a code of the client library that the header does not name
            self.code = code
        self.text = error_text(code)
        self.function = function
        where = f"{function}: " if function else ""
        super().__init__(f"{where}{self.text} ({int(code)})")

    def __reduce__(self):
        return type(self), (int(self.code), self.function)


def check(code, function):
    if code != Result.OK:
        raise TqvError(code, function)


# ------------------------------------------------------------------------------ records

CTYPES = {
    "uint8_t": ctypes.c_uint8, "uint16_t": ctypes.c_uint16, "uint32_t": ctypes.c_uint32,
    "uint64_t": ctypes.c_uint64, "int8_t": ctypes.c_int8, "int16_t": ctypes.c_int16,
    "int32_t": ctypes.c_int32, "int64_t": ctypes.c_int64, "float": ctypes.c_float,
    "double": ctypes.c_double, "bool": ctypes.c_bool, "size_t": ctypes.c_size_t,
    "char": ctypes.c_char, "const char*": ctypes.c_char_p,
    "double*": ctypes.POINTER(ctypes.c_double),
}


class Record:
    """A record of the C interface: a ctypes structure (.c) and a dataclass (.python)."""

    def __init__(self, cname, name, packed, fields):
        self.cname, self.name, self.fields = cname, name, fields
        attributes = {"_fields_": [(f[0], _field_ctype(f)) for f in fields]}
        if packed:
            attributes["_pack_"] = 1
        self.c = type(cname, (ctypes.Structure,), attributes)
        self.python = dataclasses.make_dataclass(name, [(f[1], _field_pytype(f)) for f in fields])
        self.python.__module__ = "tqvsdk"
        self.python.__doc__ = f"The record {cname} of the C interface."

    def to_python(self, structure, lists=None):
        """A dataclass from the structure. lists: values for fields that point to arrays."""
        values = {}
        for cname, pyname, ctype, extent, length in self.fields:
            value = getattr(structure, cname)
            if length is not None:
                value = (lists or {}).get(cname, [])
            elif ctype == "char" and extent:
                value = decode_text(value)
            elif ctype == "const char*":
                value = decode_text(value) if value is not None else None
            elif extent:
                value = bytes(value) if ctype == "uint8_t" else list(value)
            values[pyname] = value
        return self.python(**values)

    def to_c(self, record):
        """The structure of a dataclass of this record (fields that point to arrays stay null)."""
        if not isinstance(record, self.python):
            raise TypeError(f"expected a {self.name}, not {type(record).__name__}")
        structure = self.c()
        for cname, pyname, ctype, extent, length in self.fields:
            value = getattr(record, pyname)
            if length is not None or ctype == "const char*":
                continue
            if ctype == "char" and extent:
                data = encode_text(value, pyname)
                if len(data) >= extent:
                    raise ValueError(f"{pyname} is longer than {extent - 1} bytes")
                setattr(structure, cname, data)
            elif extent:
                if len(value) != extent:
                    raise ValueError(f"{pyname} must hold {extent} elements")
                getattr(structure, cname)[:] = list(value)
            else:
                setattr(structure, cname, value)
        return structure


def _field_ctype(field):
    _, _, ctype, extent, _ = field
    base = CTYPES[ctype]
    return base * extent if extent else base


def _field_pytype(field):
    _, _, ctype, extent, length = field
    if length is not None:
        return list
    if ctype in ("char", "const char*"):
        return str
    if extent:
        return bytes if ctype == "uint8_t" else list
    if ctype == "bool":
        return bool
    return float if ctype in ("float", "double") else int


RECORDS = {record[0]: Record(*record) for record in _generated.RECORDS}
