"""Frame headers: the 128 bytes at the start of a frame, decoded by the library into records.

Every function takes the frame or its header as bytes, bytearray, memoryview or a numpy array
(any element type; the first 128 bytes in memory order are the header).
"""

import ctypes

from ._lib import RECORDS, check, libraries

HEADER_SIZE = 128

Header = RECORDS["tqvSHeader"].python
IRIGTime = RECORDS["tqvSIRIGTime"].python
VornHeader = RECORDS["tqvSVornHeader"].python
TeskHeader = RECORDS["tqvSTeskHeader"].python


def header_bytes(data):
    """The first 128 bytes of a frame."""
    view = memoryview(data)
    try:
        flat = view.cast("B") if view.c_contiguous else None
    except TypeError:  # a format cast() does not take (a non-native byte order, say)
        flat = None
    raw = flat[:HEADER_SIZE].tobytes() if flat is not None else view.tobytes()[:HEADER_SIZE]
    if len(raw) < HEADER_SIZE:
        raise ValueError(f"a frame header has {HEADER_SIZE} bytes, not {len(raw)}")
    return raw


def _decoder(name, *argtypes):
    function = getattr(libraries().sdk, name)
    function.argtypes = list(argtypes)
    function.restype = ctypes.c_uint32
    return function


def decode_header(data):
    """The decoded header (temperatures in degrees Celsius, integration time in milliseconds,
    frame rate in hertz)."""
    record = RECORDS["tqvSHeader"]
    header = record.c()
    check(_decoder("tqvDecodeHeader", ctypes.POINTER(record.c), ctypes.c_char_p)(
        ctypes.byref(header), header_bytes(data)), "tqvDecodeHeader")
    return record.to_python(header)


def decode_irig(words):
    """The IRIG time of the four 16-bit words of a time code, and the time-code flag."""
    values = [int(word) for word in words]
    if len(values) != 4 or any(not 0 <= value <= 0xFFFF for value in values):
        raise ValueError("an IRIG time code is four 16-bit words")
    record = RECORDS["tqvSIRIGTime"]
    time, flag = record.c(), ctypes.c_bool()
    check(_decoder("tqvDecodeIRIG", ctypes.POINTER(ctypes.c_uint16), ctypes.POINTER(record.c),
                   ctypes.POINTER(ctypes.c_bool))((ctypes.c_uint16 * 4)(*values),
                                                  ctypes.byref(time), ctypes.byref(flag)),
          "tqvDecodeIRIG")
    return record.to_python(time), flag.value


def _extension(name, record_name, data):
    raw_record, record = RECORDS["tqvSHeaderRaw"], RECORDS[record_name]
    raw = raw_record.c()
    check(_decoder("tqvDecodeHeaderRaw", ctypes.POINTER(raw_record.c), ctypes.c_char_p)(
        ctypes.byref(raw), header_bytes(data)), "tqvDecodeHeaderRaw")
    decoded = record.c()
    check(_decoder(name, ctypes.POINTER(record.c), ctypes.POINTER(raw_record.c))(
        ctypes.byref(decoded), ctypes.byref(raw)), name)
    return record.to_python(decoded)


def decode_vorn_header(data):
    """The lens controller's extension; TqvError NOT_SUPPORTED for an unknown extension."""
    return _extension("tqvDecodeVORNHeader", "tqvSVornHeader", data)


def decode_tesk_header(data):
    """The second platform's extension; TqvError NOT_SUPPORTED for an unknown extension."""
    return _extension("tqvDecodeTeskHeader", "tqvSTeskHeader", data)
