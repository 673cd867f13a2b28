"""The enumerations of the camera settings as IntEnums, made from the library's own tables: every
code whose tqv<Name>Text has a text becomes a member; from_text asks tqv<Name>Enum, which knows
the matching rule (exact, or without regard to case for a few)."""

import ctypes
import enum
import re
import threading

from . import _generated
from ._lib import decode_text, encode_text, libraries

# The codes asked of each Text function; the tables are far smaller, with gaps.
CODES = range(256)


class TextEnum(enum.IntEnum):
    """An enumeration of the library: each member knows its text."""

    __module__ = "tqvsdk"

    @property
    def text(self):
        """The library's text of the member."""
        return _text(type(self).__name__, self.value)

    @classmethod
    def from_text(cls, text):
        """The member whose text matches by the library's rule; ValueError when none does."""
        function = getattr(libraries().sdk, f"tqv{cls.__name__}Enum")
        code = function(encode_text(text))
        if code == 0xFFFFFFFF:
            raise ValueError(f"{text!r} is not a {cls.__name__} text")
        return cls(code)


def member_name(text):
    """'Single Preset' -> SINGLE_PRESET, 'InFOV' -> IN_FOV, '1/2x' -> V1_2X."""
    name = re.sub(r"([a-z])([A-Z])", r"\1_\2", text)
    name = re.sub(r"[^A-Za-z0-9]+", "_", name).strip("_").upper()
    return "V" + name if not name or name[0].isdigit() else name


_lock = threading.Lock()
_built = {}


def _functions(name):
    sdk = libraries().sdk
    text_function = getattr(sdk, f"tqv{name}Text")
    text_function.argtypes = [ctypes.c_uint32]
    text_function.restype = ctypes.c_char_p
    enum_function = getattr(sdk, f"tqv{name}Enum")
    enum_function.argtypes = [ctypes.c_char_p]
    enum_function.restype = ctypes.c_uint32
    return text_function


def _text(name, code):
    text = _functions(name)(code)
    return decode_text(text) if text is not None else None


def enumeration(name):
    """The IntEnum of an enumeration of the library, made on first use."""
    if name not in _generated.ENUMERATIONS:
        raise AttributeError(name)
    with _lock:
        if name not in _built:
            text_function = _functions(name)
            members = {}
            for code in CODES:
                text = text_function(code)
                if text is None:
                    continue
                member = member_name(decode_text(text))
                members[member if member not in members else f"{member}_{code}"] = code
            _built[name] = TextEnum(name, members, module="tqvsdk")
        return _built[name]
