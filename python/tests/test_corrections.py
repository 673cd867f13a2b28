"""Correction files as numpy arrays, checked against the library's own C functions, and the
desktop tool's files."""

import ctypes
import dataclasses

import numpy as np
import pytest

import tqvsdk
from tqvsdk import corrections
from conftest import UINT32

INFO = ctypes.POINTER(tqvsdk.RECORDS["tqvSNUCInfo"].c)
WORDS = ctypes.POINTER(ctypes.c_uint32)


@pytest.fixture
def codec(c_call):
    """The library's tqvEncodeNUC and tqvDecodeNUC, one word at a time."""
    encode = c_call("tqvEncodeNUC", UINT32, ctypes.c_int16, ctypes.c_uint8, ctypes.c_float)
    decode_c = c_call("tqvDecodeNUC", UINT32, UINT32, ctypes.POINTER(ctypes.c_float),
                      ctypes.POINTER(ctypes.c_uint16), ctypes.POINTER(ctypes.c_uint8))

    def decode(word):
        gain, offset, flag = ctypes.c_float(), ctypes.c_uint16(), ctypes.c_uint8()
        assert decode_c(word, ctypes.byref(gain), ctypes.byref(offset), ctypes.byref(flag)) == 0
        return gain.value, ctypes.c_int16(offset.value).value, flag.value

    return encode, decode


def sample(height=6, width=10, seed=1):
    """Arrays that a file holds exactly: gains on the 1/16383 step (0 and 4.0 among them),
    offsets to both ends, every flag code."""
    rng = np.random.default_rng(seed)
    fields = rng.integers(0, 0xFFFD, size=(height, width))
    fields.flat[:2] = [0, 0xFFFC]
    gain = (fields * (1.0 / 16383.0)).astype(np.float32)
    offset = rng.integers(-8192, 8192, size=(height, width)).astype(np.int16)
    offset.flat[:2] = [-8192, 8191]
    flags = rng.integers(0, 4, size=(height, width)).astype(np.uint8)
    return gain, offset, flags


def correction(height=6, width=10, **info_changes):
    info = dataclasses.replace(corrections.default_info(), **info_changes)
    return corrections.Correction(info, *sample(height, width))


def test_arrays_written_and_loaded_back_are_identical(tmp_path):
    written = correction(camera_serial="SN-0042", lens="25 mm", filter_id=7, digital_gain=1.25,
                         invert=True, bp_total=12)
    corrections.save(tmp_path / "c.nuc", written)
    loaded = corrections.load(tmp_path / "c.nuc")
    for name in ("gain", "offset", "flags"):
        assert getattr(loaded, name).dtype == getattr(written, name).dtype
        np.testing.assert_array_equal(getattr(loaded, name), getattr(written, name))
    expected = dataclasses.replace(written.info, window_width=10, window_height=6)
    assert loaded.info == expected
    np.testing.assert_array_equal(loaded.bad_pixels, written.flags != 0)


def test_files_of_the_c_functions_and_of_numpy_are_one_format(tmp_path, c_call, codec):
    encode, _ = codec
    gain, offset, flags = sample(3, 4, seed=5)
    words = (ctypes.c_uint32 * 12)(*(encode(int(o), int(f), float(g)) for g, o, f in
                                     zip(gain.flat, offset.flat, flags.flat)))
    info = tqvsdk.RECORDS["tqvSNUCInfo"].c()
    c_call("tqvDefaultNUCInfo", UINT32, INFO)(ctypes.byref(info))
    info.windowWidth, info.windowHeight, info.lens = 4, 3, b"from C"
    save = c_call("tqvSaveNUCFile", UINT32, ctypes.c_char_p, INFO, WORDS)
    assert save(str(tmp_path / "c.nuc").encode(), ctypes.byref(info), words) == 0
    loaded = corrections.load(tmp_path / "c.nuc")
    assert loaded.info.lens == "from C" and loaded.gain.shape == (3, 4)
    np.testing.assert_array_equal(loaded.gain, gain)
    np.testing.assert_array_equal(loaded.offset, offset)
    np.testing.assert_array_equal(loaded.flags, flags)
    np.testing.assert_array_equal(corrections.load_words(tmp_path / "c.nuc")[1].ravel(), words)
    # Saved again from the arrays, the file is the one the C functions wrote.
    corrections.save(tmp_path / "n.nuc", loaded)
    assert (tmp_path / "n.nuc").read_bytes() == (tmp_path / "c.nuc").read_bytes()


# (gain, offset, flag): ends, clamps and values that are not numbers
ENCODINGS = [(0.0, 0, 0), (1.0, 1, 1), (4.0, -1, 2), (4.0001, 8191, 3), (5.0, -9000, 1),
             (-1.0, 9000, 0), (float("nan"), 3, 2), (float("inf"), -8192, 3), (1e-9, 0, 7),
             (0.99999994, 123, 0), (2.5001, -4097, 1), (3.9999998, 42, 2)]


def test_packing_whole_arrays_matches_the_library_word_for_word(codec):
    encode, _ = codec
    rng = np.random.default_rng(3)
    gains = np.concatenate([[g for g, _, _ in ENCODINGS], rng.uniform(-0.5, 4.5, 2000)])
    offsets = np.concatenate([[o for _, o, _ in ENCODINGS], rng.integers(-9000, 9000, 2000)])
    flags = np.concatenate([[f for _, _, f in ENCODINGS], rng.integers(0, 8, 2000)])
    packed = corrections.encode(gains, offsets.astype(np.int32), flags.astype(np.uint8))
    expected = [encode(int(np.clip(o, -32768, 32767)), int(f), float(g))
                for g, o, f in zip(gains, offsets, flags)]
    assert packed.tolist() == expected


def test_unpacking_matches_the_library_for_every_gain_field(codec):
    _, decode = codec
    fields = np.arange(0x10000, dtype=np.uint32)
    words = (fields << 16) | ((fields * 4) & 0xFFFC) | (fields & 3)
    gain, offset, flags = corrections.decode(words)
    for index in range(0, 0x10000, 1):
        assert (gain[index], offset[index], flags[index]) == decode(int(words[index]))


def test_a_window_is_read_in_the_requested_orientation(tmp_path):
    full = correction(4, 8, max_width=8, max_height=4)
    corrections.save(tmp_path / "w.nuc", full)
    window = corrections.read_window(tmp_path / "w.nuc", 0, 1, 4, 2, revert=True, max_width=8,
                                     max_height=4)
    # Column x of a reverted window is column max_width - 1 - x of the stored table.
    np.testing.assert_array_equal(window.gain, full.gain[1:3, 7:3:-1])
    np.testing.assert_array_equal(window.offset, full.offset[1:3, 7:3:-1])
    with pytest.raises(tqvsdk.TqvError) as raised:
        corrections.read_window(tmp_path / "w.nuc", 6, 0, 4, 2, max_width=8, max_height=4)
    assert raised.value.code == tqvsdk.Result.ERROR


def test_headers_that_do_not_fit_are_refused(tmp_path):
    with pytest.raises(ValueError, match="63"):
        corrections.save(tmp_path / "x.nuc", correction(lens="L" * 64))
    with pytest.raises(tqvsdk.TqvError) as raised:
        corrections.load(tmp_path / "absent.nuc")
    assert (raised.value.code, raised.value.function) == (tqvsdk.Result.ERROR, "tqvLoadNUCFile")


def test_desktop_tool_files_carry_the_correction_both_ways(tmp_path):
    written = correction(3, 5, max_width=640, max_height=512, camera_serial="kept")
    corrections.save(tmp_path / "cam.nuc", written)
    corrections.to_desktop(tmp_path / "cam.nuc", tmp_path / "tool.SCO")
    info = corrections.from_desktop(tmp_path / "tool", tmp_path / "back",
                                    corrections.read_info(tmp_path / "cam.nuc"))
    assert (info.window_width, info.window_height, info.camera_serial) == (5, 3, "kept")
    back = corrections.load(tmp_path / "back.nuc")
    np.testing.assert_array_equal(back.words(), written.words())
    plain = corrections.from_desktop(tmp_path / "tool", tmp_path / "plain.nuc")
    assert plain.camera_serial == corrections.default_info().camera_serial


def test_a_bad_pixel_list_becomes_a_desktop_map(tmp_path):
    corrections.save_bad_pixel_map(tmp_path / "bad", 4, 3, [(1, 0), (3, 2), (4, 0)])
    mask = np.frombuffer((tmp_path / "bad.sbp").read_bytes()[26:], np.uint8).reshape(3, 4)
    expected = np.zeros((3, 4), np.uint8)
    expected[0, 1] = expected[2, 3] = expected[1, 0] = 1  # column 4 of row 0 is row 1's first
    np.testing.assert_array_equal(mask, expected)
    with pytest.raises(tqvsdk.TqvError):
        corrections.save_bad_pixel_map(tmp_path / "worse", 4, 3, [(0, 3)])
    with pytest.raises(ValueError):
        corrections.save_bad_pixel_map(tmp_path / "worst", 4, 3, [(-1, 0)])
