"""Frame headers decoded from bytes and numpy frames into dataclasses."""

import struct

import numpy as np
import pytest

import tqvsdk
from tqvsdk import headers


def frame_header(**fields):
    """128 header bytes with the given values at their offsets (little-endian)."""
    raw = bytearray(128)
    layout = {"clock": (0x01, "B"), "t_high": (0x02, "H"), "t_low": (0x04, "H"),
              "u_high": (0x06, "H"), "u_low": (0x08, "H"), "temperature1": (0x0C, "H"),
              "ext_type": (0x60, "B"), "ext_version": (0x61, "B"), "ext_word": (0x62, "H"),
              "ext_temp": (0x65, "H")}
    for name, value in fields.items():
        offset, kind = layout[name]
        struct.pack_into("<" + kind, raw, offset, value)
    return bytes(raw)


# day 123, 14:35:59, .250017 s, time-code flag set
TIME = (1 << 31) | (123 << 18) | (14 << 12) | (35 << 6) | 59
SUBSECOND = 250 * 1000 + 17
HEADER = frame_header(clock=1, t_high=TIME >> 16, t_low=TIME & 0xFFFF,
                      u_high=SUBSECOND >> 16, u_low=SUBSECOND & 0xFFFF, temperature1=30015)


def test_a_header_decodes_into_a_record_of_python_values():
    # The library's decoding is tested with the library; here its fields of each kind arrive.
    header = headers.decode_header(HEADER)
    assert isinstance(header, tqvsdk.Header)
    assert header.clock_frequency == 11100000
    assert (header.day, header.hour, header.minute, header.second) == (123, 14, 35, 59)
    assert (header.millisecond, header.microsecond, header.time_code_flag) == (250, 17, True)
    assert header.temperature1 == pytest.approx(27.0, abs=1e-4)


@pytest.mark.parametrize("frame", [
    HEADER,
    bytearray(HEADER) + bytes(1000),
    memoryview(HEADER),
    np.frombuffer(HEADER + bytes(512), dtype=np.uint16).reshape(20, 16),
    np.frombuffer(HEADER + bytes(64), dtype=np.uint8),
    np.frombuffer(HEADER, dtype=">u2"),
], ids=["bytes", "bytearray", "memoryview", "uint16 frame", "uint8", "big-endian view"])
def test_frames_of_every_kind_give_the_same_header(frame):
    assert headers.decode_header(frame) == headers.decode_header(HEADER)


def test_a_short_frame_is_refused():
    with pytest.raises(ValueError, match="128"):
        headers.decode_header(HEADER[:127])


def test_irig_words_decode_as_the_header_time():
    words = struct.unpack_from(">4H", struct.pack(">II", TIME, SUBSECOND))
    time, flag = headers.decode_irig(words)
    assert time == tqvsdk.IRIGTime(123, 14, 35, 59, 250, 17)
    assert flag is True
    with pytest.raises(ValueError):
        headers.decode_irig(words[:3])


def test_extensions_decode_or_raise_not_supported():
    tesk = headers.decode_tesk_header(frame_header(ext_version=2, ext_type=2, ext_word=77,
                                                   ext_temp=29815))
    assert (tesk.type, tesk.word1) == (2, 77)
    assert tesk.temperature == pytest.approx(25.0, abs=1e-4)
    for decode in (headers.decode_tesk_header, headers.decode_vorn_header):
        with pytest.raises(tqvsdk.TqvError) as raised:
            decode(frame_header(ext_version=9))
        assert raised.value.code == tqvsdk.Result.NOT_SUPPORTED
