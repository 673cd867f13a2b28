"""Camera: a handle over a connection, with one method per function of the descriptor table."""

import builtins
import collections
import ctypes
import inspect
import operator
import os
import shutil
import tempfile
import threading
import weakref

from . import _generated
from ._lib import RECORDS, CTYPES, Result, TqvError, check, decode_text, encode_text, libraries

DirEntry = collections.namedtuple("DirEntry", "name attrib size time_last_modified",
                                  module="tqvsdk")
DirEntry.__doc__ = "One entry of a camera directory listing (time in seconds since 1970)."
InfoEntry = collections.namedtuple("InfoEntry", "name value", module="tqvsdk")
InfoEntry.__doc__ = "One line of camera information."

PROGRESS_CALLBACK = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_uint, ctypes.c_uint, ctypes.c_void_p)
LIST_CALLBACK = ctypes.CFUNCTYPE(None, ctypes.c_void_p, ctypes.c_char_p, ctypes.c_uint32)


class BridgeProgress(ctypes.Structure):
    _fields_ = [("callback", PROGRESS_CALLBACK), ("context", ctypes.c_void_p)]


class BridgeList(ctypes.Structure):
    _fields_ = [("add", LIST_CALLBACK), ("context", ctypes.c_void_p)]


class BridgeEntry(ctypes.Structure):
    _fields_ = [("name", ctypes.c_char_p), ("function", ctypes.c_void_p)]


INTEGER_RANGES = {
    name: (-(1 << (bits - 1)), (1 << (bits - 1)) - 1) if name.startswith("int")
    else (0, (1 << bits) - 1)
    for name, bits in (("uint8_t", 8), ("uint16_t", 16), ("uint32_t", 32), ("uint64_t", 64),
                       ("int8_t", 8), ("int16_t", 16), ("int32_t", 32), ("int64_t", 64),
                       ("size_t", 64))
}

# Text outputs are read into a buffer of the first size; a refusal (the text does not fit, or
# another failure) is retried once with the larger one.
TEXT_BUFFER_SIZES = (256, 65536)

INPUT_ROLES = ("in", "in_array", "file_in", "file_out")
OUTPUT_ROLES = ("out", "text", "record", "out_array", "dir_list", "info_list", "text_list",
                "code_list")


def scalar(ctype, value, name):
    """A Python value checked and converted for a C parameter of the type."""
    if ctype == "const char*":
        return encode_text(value, name)
    if isinstance(value, (str, bytes)):
        raise TypeError(f"{name} must be a number, not {type(value).__name__}")
    if ctype == "bool":
        return bool(operator.index(value))
    if ctype in ("float", "double"):
        return float(value)
    number = operator.index(value)
    low, high = INTEGER_RANGES[ctype]
    if not low <= number <= high:
        raise ValueError(f"{name}={number} does not fit {ctype}")
    return number


def argument_types(parameters):
    types = [ctypes.c_void_p]
    for _, ctype, role, _ in parameters:
        if role == "in":
            types.append(CTYPES[ctype])
        elif role in ("out", "in_array"):
            types.append(ctypes.POINTER(CTYPES[ctype]))
        elif role == "text":
            types += [ctypes.POINTER(ctypes.c_char), ctypes.c_int32]
        elif role in ("record", "out_array"):
            types.append(ctypes.POINTER(RECORDS[ctype].c))
        elif role in ("dir_list", "info_list"):
            types.append(ctypes.c_void_p)
        elif role in ("text_list", "code_list"):
            types.append(ctypes.POINTER(BridgeList))
        elif role in ("file_in", "file_out"):
            types.append(ctypes.c_char_p)
        elif role == "progress":
            types.append(ctypes.POINTER(BridgeProgress))
        else:
            raise AssertionError(f"unknown role {role}")
    return types


class _EntryArrays:
    """The listing arrays of the C interface (tqvDirEntryArray, tqvInfoEntryArray)."""

    def __init__(self, sdk):
        self.sdk = sdk
        for kind, fields in (("Dir", (("fname", ctypes.c_void_p), ("attrib", ctypes.c_uint8),
                                       ("size", ctypes.c_uint32),
                                       ("timeLastModified", ctypes.c_uint64))),
                             ("Info", (("name", ctypes.c_void_p), ("value", ctypes.c_void_p)))):
            prefix = f"tqv{kind}EntryArray_"
            getattr(sdk, prefix + "Alloc").restype = ctypes.c_void_p
            getattr(sdk, prefix + "Alloc").argtypes = []
            getattr(sdk, prefix + "Free").argtypes = [ctypes.c_void_p]
            getattr(sdk, prefix + "size").argtypes = [ctypes.c_void_p]
            getattr(sdk, prefix + "size").restype = ctypes.c_uint32
            for field, restype in fields:
                function = getattr(sdk, f"{prefix}{field}At")
                function.argtypes = [ctypes.c_void_p, ctypes.c_uint32]
                function.restype = restype

    def read(self, kind, array):
        prefix = f"tqv{kind}EntryArray_"
        entries = []
        sdk = self.sdk
        for index in range(getattr(sdk, prefix + "size")(array)):
            if kind == "Dir":
                entries.append(DirEntry(self._text(sdk.tqvDirEntryArray_fnameAt(array, index)),
                                        sdk.tqvDirEntryArray_attribAt(array, index),
                                        sdk.tqvDirEntryArray_sizeAt(array, index),
                                        sdk.tqvDirEntryArray_timeLastModifiedAt(array, index)))
            else:
                entries.append(InfoEntry(self._text(sdk.tqvInfoEntryArray_nameAt(array, index)),
                                         self._text(sdk.tqvInfoEntryArray_valueAt(array, index))))
        return entries

    def _text(self, pointer):
        try:
            return decode_text(ctypes.string_at(pointer)) if pointer else ""
        finally:
            self.sdk.tqvFree(pointer)


class _Binder:
    """The C functions behind the descriptors, bound on first use."""

    def __init__(self):
        self._lock = threading.Lock()
        self._functions = {}
        self._bridge_table = None
        self._arrays = None

    def function(self, descriptor):
        with self._lock:
            name = descriptor[1]
            if name not in self._functions:
                self._functions[name] = self._bind(descriptor)
            return self._functions[name]

    def arrays(self):
        with self._lock:
            if self._arrays is None:
                self._arrays = _EntryArrays(libraries().sdk)
            return self._arrays

    def _bind(self, descriptor):
        _, name, _, bridged, parameters, _ = descriptor
        types = argument_types(parameters)
        libs = libraries()
        if bridged:
            address = self._bridge(libs).get(name)
            if address is None:
                raise NotImplementedError(f"libtqvBridge has no C form of tqv{name}")
            return ctypes.CFUNCTYPE(ctypes.c_uint32, *types)(address)
        try:
            function = getattr(libs.sdk, "tqv" + name)
        except AttributeError:
            raise NotImplementedError(f"libtqvSDK does not export tqv{name}") from None
        function.argtypes = types
        function.restype = ctypes.c_uint32
        return function

    def _bridge(self, libs):
        if self._bridge_table is None:
            libs.bridge.tqvBridgeTable.restype = ctypes.POINTER(BridgeEntry)
            libs.bridge.tqvBridgeTable.argtypes = []
            entries, index = {}, 0
            table = libs.bridge.tqvBridgeTable()
            while table[index].name is not None:
                entries[table[index].name.decode()] = table[index].function
                index += 1
            self._bridge_table = entries
        return self._bridge_table


_binder = _Binder()


class _Call:
    """One call of a described function: the C arguments, and the outputs read after it."""

    def __init__(self, handle, parameters, arguments, text_size):
        self.c_arguments = [handle]
        self.outputs = []          # functions giving the output values after a success
        self.after = []            # run after a success, before the outputs are read
        self.cleanups = []         # run after the call, success or not
        self.keep = []             # callbacks that must live as long as the call
        self.progress_error = None
        try:
            for name, ctype, role, extent in parameters:
                getattr(self, "_" + role)(name, ctype, extent, arguments, text_size)
        except BaseException:
            self.clean_up()
            raise

    def clean_up(self):
        for cleanup in self.cleanups:
            cleanup()

    def _in(self, name, ctype, extent, arguments, text_size):
        self.c_arguments.append(scalar(ctype, arguments[name], name))

    def _in_array(self, name, ctype, extent, arguments, text_size):
        values = list(arguments[name])
        if len(values) != extent:
            raise ValueError(f"{name} must hold {extent} values, not {len(values)}")
        array = (CTYPES[ctype] * extent)(*(scalar(ctype, v, name) for v in values))
        self.c_arguments.append(array)

    def _out(self, name, ctype, extent, arguments, text_size):
        value = CTYPES[ctype]()
        self.c_arguments.append(ctypes.byref(value))
        self.outputs.append(lambda: value.value)

    def _text(self, name, ctype, extent, arguments, text_size):
        buffer = ctypes.create_string_buffer(text_size)
        self.c_arguments += [buffer, text_size]
        self.outputs.append(lambda: decode_text(buffer.value))

    def _record(self, name, ctype, extent, arguments, text_size):
        record = RECORDS[ctype]
        structure = record.c()
        self.c_arguments.append(ctypes.byref(structure))
        self.outputs.append(lambda: _record_value(record, structure))
        if any(field[4] for field in record.fields):
            self.cleanups.append(lambda: _free_record_arrays(record, structure))

    def _out_array(self, name, ctype, extent, arguments, text_size):
        record = RECORDS[ctype]
        array = (record.c * extent)()
        self.c_arguments.append(array)
        self.outputs.append(lambda: [record.to_python(element) for element in array])

    def _dir_list(self, name, ctype, extent, arguments, text_size, kind="Dir"):
        arrays = _binder.arrays()
        array = getattr(arrays.sdk, f"tqv{kind}EntryArray_Alloc")()
        if not array:
            raise MemoryError("no memory for a listing")
        self.c_arguments.append(array)
        self.outputs.append(lambda: arrays.read(kind, array))
        self.cleanups.append(lambda: getattr(arrays.sdk, f"tqv{kind}EntryArray_Free")(array))

    def _info_list(self, name, ctype, extent, arguments, text_size):
        self._dir_list(name, ctype, extent, arguments, text_size, kind="Info")

    def _text_list(self, name, ctype, extent, arguments, text_size, texts=True):
        items = []

        def add(context, text, value):
            items.append(decode_text(text) if texts else value)

        callback = LIST_CALLBACK(add)
        self.keep.append(callback)
        self.c_arguments.append(ctypes.byref(BridgeList(callback, None)))
        self.outputs.append(lambda: list(items))

    def _code_list(self, name, ctype, extent, arguments, text_size):
        self._text_list(name, ctype, extent, arguments, text_size, texts=False)

    def _file_in(self, name, ctype, extent, arguments, text_size, download=False):
        target = arguments[name]
        if isinstance(target, (str, bytes, os.PathLike)):
            self.c_arguments.append(encode_text(target, name))
            return
        # A Python binary file object: moved through a host file in a directory of our own.
        directory = tempfile.mkdtemp(prefix="tqvsdk-")
        path = os.path.join(directory, "transfer")
        self.cleanups.append(lambda: shutil.rmtree(directory, ignore_errors=True))
        if download:
            def copy_out():
                with builtins.open(path, "rb") as source:
                    shutil.copyfileobj(source, target)
            self.after.append(copy_out)
        else:
            with builtins.open(path, "wb") as destination:
                shutil.copyfileobj(target, destination)
        self.c_arguments.append(os.fsencode(path))

    def _file_out(self, name, ctype, extent, arguments, text_size):
        self._file_in(name, ctype, extent, arguments, text_size, download=True)

    def _progress(self, name, ctype, extent, arguments, text_size):
        report = arguments.get("progress")
        if report is None:
            self.c_arguments.append(None)
            return

        def call(done, total, context):
            # An exception cannot cross the C library: keep the first and raise it afterwards.
            if self.progress_error is None:
                try:
                    report(done, total)
                except BaseException as error:  # raised again once the call returns
                    self.progress_error = error
            return 0

        callback = PROGRESS_CALLBACK(call)
        self.keep.append(callback)
        self.c_arguments.append(ctypes.byref(BridgeProgress(callback, None)))


def _record_value(record, structure):
    lists = {}
    for cname, _, ctype, _, length in record.fields:
        if length is not None:
            pointer, count = getattr(structure, cname), getattr(structure, length)
            lists[cname] = list(pointer[:count]) if pointer else []
    return record.to_python(structure, lists)


def _free_record_arrays(record, structure):
    sdk = libraries().sdk
    for cname, _, _, _, length in record.fields:
        if length is not None and getattr(structure, cname):
            sdk.tqvFree(ctypes.cast(getattr(structure, cname), ctypes.c_void_p))
            setattr(structure, cname, None)


def invoke(handle, descriptor, arguments):
    """Calls the described function with the arguments (a dict by Python name)."""
    _, name, _, _, parameters, tuple_type = descriptor
    function = _binder.function(descriptor)
    has_text = any(p[2] == "text" for p in parameters)
    for attempt, size in enumerate(TEXT_BUFFER_SIZES):
        call = _Call(handle, parameters, arguments, size)
        try:
            result = function(*call.c_arguments)
            if call.progress_error is not None:
                raise call.progress_error
            last = attempt + 1 == len(TEXT_BUFFER_SIZES)
            if result == Result.ERROR and has_text and not last:
                continue
            check(result, "tqv" + name)
            for action in call.after:
                action()
            values = [output() for output in call.outputs]
        finally:
            call.clean_up()
        if tuple_type is not None:
            return tuple_type(*values)
        return values[0] if values else None


def _make_method(descriptor):
    method_name, name, in_table, bridged, parameters, tuple_name = descriptor
    signature_parameters = [inspect.Parameter("self", inspect.Parameter.POSITIONAL_OR_KEYWORD)]
    for pname, _, role, _ in parameters:
        if role in INPUT_ROLES:
            signature_parameters.append(
                inspect.Parameter(pname, inspect.Parameter.POSITIONAL_OR_KEYWORD))
    if any(p[2] == "progress" for p in parameters):
        signature_parameters.append(
            inspect.Parameter("progress", inspect.Parameter.KEYWORD_ONLY, default=None))
    signature = inspect.Signature(signature_parameters)
    outputs = [p[0] for p in parameters if p[2] in OUTPUT_ROLES]
    tuple_type = collections.namedtuple(tuple_name, outputs, module="tqvsdk") if tuple_name \
        else None
    call_descriptor = (method_name, name, in_table, bridged, parameters, tuple_type)

    def method(self, *args, **kwargs):
        arguments = signature.bind(self, *args, **kwargs).arguments
        return invoke(self.handle, call_descriptor, arguments)

    method.__name__ = method_name
    method.__qualname__ = "Camera." + method_name
    method.__module__ = "tqvsdk"
    method.__signature__ = signature
    returns = (f"a {tuple_name}({', '.join(outputs)})" if tuple_type else
               outputs[0] if outputs else "None")
    method.__doc__ = (f"tqv{name}; returns {returns}. Raises TqvError for a result other "
                      "than TQV_OK.")
    return method, tuple_type


class Camera:
    """A camera handle over a connection of its own. Close it with close() or a with block."""

    __module__ = "tqvsdk"

    def __init__(self, handle, connection, address, backend):
        self._handle, self._connection = handle, connection
        self.address, self.backend = address, backend
        self._lock = threading.Lock()
        self._finalizer = weakref.finalize(self, _release, handle, connection)

    @property
    def handle(self):
        """The library's handle (a ctypes void pointer value)."""
        if self._handle is None:
            raise ValueError("the camera is closed")
        return self._handle

    @property
    def closed(self):
        return self._handle is None

    def close(self):
        """Destroys the handle and closes the connection; a second close does nothing."""
        with self._lock:
            if self._handle is not None:
                self._handle = None
                self._finalizer()

    def __enter__(self):
        return self

    def __exit__(self, *exc_info):
        self.close()

    def __repr__(self):
        state = "closed" if self.closed else "open"
        return f"<tqvsdk.Camera {self.address!r} ({self.backend}, {state})>"


def _release(handle, connection):
    libs = libraries()
    libs.sdk.tqvDestroy.argtypes = [ctypes.c_void_p]
    libs.sdk.tqvDestroy(handle)
    if connection is not None:
        libs.paramtree.resClose.argtypes = [ctypes.c_void_p]
        libs.paramtree.resClose(connection)


RESULT_TUPLES = {}
for _descriptor in _generated.FUNCTIONS:
    _method, _tuple = _make_method(_descriptor)
    setattr(Camera, _descriptor[0], _method)
    if _tuple is not None:
        RESULT_TUPLES[_tuple.__name__] = _tuple


def open(address="sim", *, flags=0):  # noqa: A001 - the package's verb
    """Opens a camera and creates a handle over it.

    address: "sim", "sim:<profile>" or "sim:file=<path>" (the property-tree client's simulated
    camera), the same after "ptree:", or after "genicam:" for the GenICam client's device.
    flags: the creation flags (bit 0: keep the handle when the sensor constants do not read).
    """
    backend, _, rest = address.partition(":")
    if backend in ("ptree", "genicam") and rest:
        address = rest
    else:
        backend = "ptree"
    libs = libraries()
    flags = scalar("uint32_t", flags, "flags")
    handle = ctypes.c_void_p()
    if backend == "genicam":
        libs.bridge.tqvBridgeOpenGenICam.argtypes = [ctypes.c_char_p, ctypes.c_uint32,
                                                     ctypes.POINTER(ctypes.c_void_p)]
        libs.bridge.tqvBridgeOpenGenICam.restype = ctypes.c_uint32
        check(libs.bridge.tqvBridgeOpenGenICam(encode_text(address, "address"), flags,
                                               ctypes.byref(handle)), "tqvBridgeOpenGenICam")
        return Camera(handle.value, None, address, backend)
    connection = ctypes.c_void_p()
    libs.paramtree.resOpen.argtypes = [ctypes.c_char_p, ctypes.POINTER(ctypes.c_void_p)]
    libs.paramtree.resOpen.restype = ctypes.c_uint32
    check(libs.paramtree.resOpen(encode_text(address, "address"), ctypes.byref(connection)),
          "resOpen")
    libs.sdk.tqvCreateParamTreeEx.argtypes = [ctypes.POINTER(ctypes.c_void_p), ctypes.c_void_p,
                                              ctypes.c_uint32]
    libs.sdk.tqvCreateParamTreeEx.restype = ctypes.c_uint32
    result = libs.sdk.tqvCreateParamTreeEx(ctypes.byref(handle), connection, flags)
    if result != Result.OK:
        libs.paramtree.resClose.argtypes = [ctypes.c_void_p]
        libs.paramtree.resClose(connection)
        raise TqvError(result, "tqvCreateParamTreeEx")
    return Camera(handle.value, connection.value, address, backend)
