"""Correction (NUC) files as numpy arrays, and the desktop tool's files.

A camera correction file holds a header (NUCInfo) and one 32-bit word per pixel that packs a gain
(16 bits, gain x 16383, so 0.0 to 4.0 in steps of 1/16383), a signed 14-bit offset
(-8192..8191) and a two-bit flag code (non-zero marks a bad pixel). Gains are stored to that
step: a gain array written and read back is identical when its values are multiples of 1/16383
(as every gain read from a file is). The files are read and written by the library; the words
are packed and unpacked here by the library's rule for whole arrays at once.
"""

import ctypes
import dataclasses

import numpy as np

from ._lib import RECORDS, check, encode_text, libraries

NUCInfo = RECORDS["tqvSNUCInfo"].python
GAIN_SCALE = 16383
MAX_GAIN_FIELD = 0xFFFC  # the field of a gain above 4.0


@dataclasses.dataclass
class Correction:
    """A correction: its header and three arrays of shape (height, width)."""

    info: NUCInfo
    gain: np.ndarray     # float32
    offset: np.ndarray   # int16, -8192..8191
    flags: np.ndarray    # uint8 flag codes 0..3

    @property
    def bad_pixels(self):
        """The bad-pixel mask: True where the flag code is not 0."""
        return self.flags != 0

    def words(self):
        """The correction words (uint32) of the arrays."""
        return encode(self.gain, self.offset, self.flags)


def encode(gain, offset, flags):
    """Packs arrays of one shape into correction words as the library's tqvEncodeNUC does: the
    offset clamped to -8192..8191, the flag code's two low bits, the gain x 16383 truncated
    (0 for gains not above 0 or not a number, 0xFFFC for gains above 4)."""
    gain = np.asarray(gain, dtype=np.float32)
    offset = np.asarray(offset)
    flags = np.asarray(flags)
    if not gain.shape == offset.shape == flags.shape:
        raise ValueError("gain, offset and flags must have one shape")
    clamped = np.clip(offset.astype(np.int64), -8192, 8191)
    words = ((clamped * 4) & 0xFFFC).astype(np.uint32) | (flags.astype(np.uint32) & 3)
    with np.errstate(invalid="ignore"):
        positive = gain > 0
        above = gain > 4
        scaled = np.where(positive & ~above, gain * np.float32(GAIN_SCALE), 0).astype(np.uint32)
    fields = np.where(above, np.uint32(MAX_GAIN_FIELD), scaled)
    return words | (fields << 16)


def decode(words):
    """Unpacks correction words as tqvDecodeNUC does: (gain float32, offset int16, flags uint8)."""
    words = np.asarray(words, dtype=np.uint32)
    gain = ((words >> 16).astype(np.float64) * (1.0 / GAIN_SCALE)).astype(np.float32)
    offset = ((words & 0xFFFC).astype(np.uint16).view(np.int16) >> 2).astype(np.int16)
    flags = (words & 3).astype(np.uint8)
    return gain, offset, flags


def _function(name, restype, *argtypes):
    function = getattr(libraries().sdk, name)
    function.argtypes = list(argtypes)
    function.restype = restype
    return function


_INFO = ctypes.POINTER(RECORDS["tqvSNUCInfo"].c)
_WORDS = ctypes.POINTER(ctypes.c_uint32)
_U32 = ctypes.c_uint32


def _path(path):
    return encode_text(path, "path")


def default_info():
    """The header the library fills in by default (tqvDefaultNUCInfo)."""
    info = RECORDS["tqvSNUCInfo"].c()
    check(_function("tqvDefaultNUCInfo", _U32, _INFO)(ctypes.byref(info)), "tqvDefaultNUCInfo")
    return RECORDS["tqvSNUCInfo"].to_python(info)


def read_info(path):
    """The header of a correction file."""
    info = RECORDS["tqvSNUCInfo"].c()
    check(_function("tqvReadNUCFileInfo", _U32, ctypes.c_char_p, _INFO)(
        _path(path), ctypes.byref(info)), "tqvReadNUCFileInfo")
    return RECORDS["tqvSNUCInfo"].to_python(info)


def _c_free(pointer):
    free = ctypes.CDLL(None).free
    free.argtypes = [ctypes.c_void_p]
    free.restype = None
    free(pointer)


def load_words(path):
    """The header and the words of a correction file, as (NUCInfo, uint32 array (height,
    width))."""
    info, table = RECORDS["tqvSNUCInfo"].c(), _WORDS()
    check(_function("tqvLoadNUCFile", _U32, ctypes.c_char_p, _INFO, ctypes.POINTER(_WORDS))(
        _path(path), ctypes.byref(info), ctypes.byref(table)), "tqvLoadNUCFile")
    try:
        shape = (info.windowHeight, info.windowWidth)
        count = shape[0] * shape[1]
        words = np.ctypeslib.as_array(table, (count,)).copy() if count else \
            np.zeros(0, np.uint32)
    finally:
        _c_free(ctypes.cast(table, ctypes.c_void_p))
    return RECORDS["tqvSNUCInfo"].to_python(info), words.reshape(shape)


def load(path):
    """A correction file as a Correction."""
    info, words = load_words(path)
    return Correction(info, *decode(words))


def save_words(path, info, words):
    """Writes a correction file of a header and a uint32 array (height, width). The window's
    width and height in the file are the array's."""
    words = np.ascontiguousarray(words, dtype=np.uint32)
    if words.ndim != 2:
        raise ValueError("the words must form a two-dimensional array")
    height, width = words.shape
    if width > 0xFFFF or height > 0xFFFF:
        raise ValueError("a correction window is at most 65535 pixels wide and high")
    info = dataclasses.replace(info, window_width=width, window_height=height)
    structure = RECORDS["tqvSNUCInfo"].to_c(info)
    check(_function("tqvSaveNUCFile", _U32, ctypes.c_char_p, _INFO, _WORDS)(
        _path(path), ctypes.byref(structure), words.ctypes.data_as(_WORDS)), "tqvSaveNUCFile")


def save(path, correction):
    """Writes a Correction as a camera correction file."""
    save_words(path, correction.info, correction.words())


def read_window(path, x, y, width, height, *, invert=False, revert=False, max_width,
                max_height):
    """A window of a stored correction in the requested orientation, as a Correction whose
    header is the file's."""
    words = np.zeros((height, width), dtype=np.uint32)
    info = RECORDS["tqvSNUCInfo"].c()
    check(_function("tqvReadNUCFileTable", _U32, ctypes.c_char_p, _WORDS, ctypes.c_uint16,
                    ctypes.c_uint16, ctypes.c_uint16, ctypes.c_uint16, ctypes.c_bool,
                    ctypes.c_bool, ctypes.c_uint16, ctypes.c_uint16, _INFO)(
        _path(path), words.ctypes.data_as(_WORDS), x, y, width, height, invert, revert,
        max_width, max_height, ctypes.byref(info)), "tqvReadNUCFileTable")
    return Correction(RECORDS["tqvSNUCInfo"].to_python(info), *decode(words))


def to_desktop(camera_path, desktop_path):
    """Writes the desktop tool's three files (.scg gains, .sco offsets, .sbp map) of a camera
    correction file; desktop_path is their common name, with or without one of the extensions."""
    check(_function("tqvConvertCameraNUCToLumenNUC", _U32, ctypes.c_char_p, ctypes.c_char_p)(
        _path(camera_path), _path(desktop_path)), "tqvConvertCameraNUCToLumenNUC")


def from_desktop(desktop_path, camera_path, info=None):
    """Writes a camera correction file from the desktop tool's three files, with the given
    header (the library's default without one); returns the header as written (its window and
    maximum size follow the tables)."""
    record = RECORDS["tqvSNUCInfo"]
    structure = record.to_c(info if info is not None else default_info())
    check(_function("tqvConvertLumenNUCToCameraNUCEx", _U32, ctypes.c_char_p, ctypes.c_char_p,
                    _INFO)(_path(desktop_path), _path(camera_path), ctypes.byref(structure)),
          "tqvConvertLumenNUCToCameraNUCEx")
    return record.to_python(structure)


def save_bad_pixel_map(path, width, height, pixels):
    """Writes the desktop tool's bad-pixel map (.sbp) of a list of (column, row) pairs."""
    pairs = np.ascontiguousarray(np.asarray(pixels, dtype=np.int64).reshape(-1, 2))
    if pairs.size and (pairs.min() < 0 or pairs.max() > 0xFFFF):
        raise ValueError("columns and rows are 16-bit values")
    pairs = pairs.astype(np.uint16)
    check(_function("tqvSaveBplAsLumenSbp", _U32, ctypes.c_char_p, ctypes.c_uint16,
                    ctypes.c_uint16, ctypes.POINTER(ctypes.c_uint16), ctypes.c_uint32)(
        _path(path), width, height, pairs.ctypes.data_as(ctypes.POINTER(ctypes.c_uint16)),
        len(pairs)), "tqvSaveBplAsLumenSbp")
