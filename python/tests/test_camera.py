"""Camera methods on both simulated cameras: settings written and read back, several outputs,
texts, arrays, listings, result codes raised as TqvError, argument checks and the handle's life."""

import ctypes
import inspect
import pickle

import numpy as np
import pytest

import tqvsdk
from conftest import UINT32
from tqvsdk import corrections

# (setter, arguments before the value, value written, getter's expected answer); the getter is
# the setter's name with get_, called with the same leading arguments. One row per kind of
# parameter: integers of each width, floating point of both sizes, flags, several outputs, text.
ROUND_TRIPS = [
    ("set_window", (0,), (16, 8, 320, 256), (16, 8, 320, 256)),
    ("set_integration_width", (3,), (5000,), 5000),
    ("set_integration_time", (1,), (2.5,), pytest.approx(2.5)),
    ("set_digital_offset", (3,), (-20.0,), pytest.approx(-20.0)),
    ("set_dwell_counts", (), (5, 6, 7, 8), (5, 6, 7, 8)),
    ("set_subframes_enabled", (), (True, True, False, True), (True, True, False, True)),
    ("set_preset_sequencing_mode", (), (2,), 2),
    ("set_invert_enabled", (), (True,), True),
    ("set_filter_info_name", (5,), ("Narrow band",), "Narrow band"),
]


@pytest.mark.parametrize("setter, leading, value, expected", ROUND_TRIPS,
                         ids=[row[0] for row in ROUND_TRIPS])
def test_settings_come_back_as_written(camera, setter, leading, value, expected):
    getattr(camera, setter)(*leading, *value)
    answer = getattr(camera, "g" + setter[1:])(*leading)
    assert answer == expected


def test_several_outputs_are_named_tuples(camera):
    camera.set_window(1, 32, 16, 256, 128)
    window = camera.get_window(preset=1)
    assert isinstance(window, tqvsdk.Window)
    assert (window.x_offset, window.y_offset, window.width, window.height) == (32, 16, 256, 128)
    limits = camera.get_window_limits()
    assert limits._fields == ("min_width", "max_width", "min_height", "max_height",
                              "x_increment", "y_increment")
    assert limits.min_width <= window.width <= limits.max_width


def test_arguments_are_taken_by_keyword_and_described(ptree_camera):
    ptree_camera.set_integration_time(milliseconds=3.0, preset=2)
    assert ptree_camera.get_integration_time(preset=2) == pytest.approx(3.0)
    parameters = inspect.signature(tqvsdk.Camera.set_window).parameters
    assert list(parameters) == ["self", "preset", "x_offset", "y_offset", "width", "height"]
    assert "tqvGetWindow" in tqvsdk.Camera.get_window.__doc__


def test_text_longer_than_the_first_buffer_is_read_whole(camera):
    name = "".join(chr(ord("a") + i % 26) for i in range(1000))
    camera.set_filter_info_name(7, name)
    assert camera.get_filter_info_name(7) == name


def test_arrays_go_in_with_their_length(camera):
    # With every preset disabled the superframe minimum is the first preset's frame minimum.
    widths = [2000, 3000, 4000, 5000]
    superframe = camera.calc_min_superframe_width(320, 256, widths, [False] * 4, False)
    assert superframe == camera.calc_min_frame_width_ex(320, 256, widths[0], False)
    enabled = camera.calc_min_superframe_width(320, 256, widths, [True] * 4, False)
    assert enabled > superframe
    with pytest.raises(ValueError, match="4 values"):
        camera.calc_min_superframe_width(320, 256, widths[:3], [False] * 4, False)


def test_array_outputs_are_lists_of_records(camera):
    palette = camera.get_video_overlay_palette()
    assert len(palette) == 256
    assert palette[1] == tqvsdk.RGB(0, 84, 155)
    assert palette[255] == tqvsdk.RGB(255, 255, 243)


R = tqvsdk.Result

# (name, call, code on the property tree, code on GenICam): each raised as TqvError with the
# library's text, and OK as None. GenICam forms a feature name of any preset (one no camera has),
# and has no cache to fill.
ERRORS = [
    ("preset 4", lambda cam: cam.get_integration_time(4), R.INVALID_ARGUMENT, R.ERROR),
    ("no cache", lambda cam: cam.fill_cache(), R.OK, R.NOT_SUPPORTED),
    ("host file", lambda cam: cam.download_file_std("/FlashFS/x", "/no/such/dir/x"), R.ERROR,
     R.ERROR),
]


@pytest.mark.parametrize("call, ptree_code, genicam_code", [row[1:] for row in ERRORS],
                         ids=[row[0] for row in ERRORS])
def test_result_codes_raise_with_the_library_text(camera, sdk, call, ptree_code, genicam_code):
    code = ptree_code if camera.backend == "ptree" else genicam_code
    if code == R.OK:
        assert call(camera) is None
        return
    with pytest.raises(tqvsdk.TqvError) as raised:
        call(camera)
    assert raised.value.code == code
    sdk.tqvErrorToString.restype = ctypes.c_char_p
    assert raised.value.text == sdk.tqvErrorToString(code).decode()
    assert raised.value.text in str(raised.value)
    assert str(int(code)) in str(raised.value)


def a_nuc_file(camera, tmp_path):
    correction = corrections.Correction(corrections.default_info(),
                                        *[np.zeros((4, 8), dtype) for dtype in
                                          (np.float32, np.int16, np.uint8)])
    corrections.save(tmp_path / "py4x8.nuc", correction)
    camera.upload_nuc_std(tmp_path / "py4x8.nuc")
    return "py4x8"


def list_of(kind):
    return lambda value: isinstance(value, list) and value and all(isinstance(v, kind)
                                                                   for v in value)


def has_entries(*expected):
    """Directory entries among which are these (name, directory flag, size)."""
    return lambda entries: list_of(tqvsdk.DirEntry)(entries) and set(expected) <= {
        (entry.name, entry.attrib & 0x10, entry.size) for entry in entries}


# Outputs of kinds only a few operations have: (operation, call, check of the Python form).
LISTINGS = [
    ("ListDir", lambda cam, tmp: cam.list_dir("/FlashFS"),
     has_entries(("nuc", 0x10, 0), ("notes.txt", 0, 24))),
    ("ListVoltages", lambda cam, tmp: cam.list_voltages(), list_of(str)),
    ("GetCalTags", lambda cam, tmp: cam.get_cal_tags(), list_of(str)),
    ("GetVideoFormats", lambda cam, tmp: cam.get_video_formats(), list_of(int)),
    ("GetCameraExtraInfo", lambda cam, tmp: cam.get_camera_extra_info(), list_of(tqvsdk.InfoEntry)),
    ("QueryNUCInfo", lambda cam, tmp: cam.query_nuc_info(a_nuc_file(cam, tmp)),
     lambda info: isinstance(info, tqvsdk.NUCInfo) and (info.window_width,
                                                        info.window_height) == (8, 4)),
]


@pytest.mark.parametrize("operation, call, check", LISTINGS, ids=[row[0] for row in LISTINGS])
def test_outputs_of_listings(camera, tmp_path, operation, call, check):
    assert check(call(camera, tmp_path))


def test_errors_survive_pickling():
    error = tqvsdk.TqvError(166, "tqvSetWindow")
    copy = pickle.loads(pickle.dumps(error))
    assert (copy.code, copy.function, str(copy)) == (error.code, error.function, str(error))


@pytest.mark.parametrize("call, error", [
    (lambda cam: cam.get_integration_time(256), ValueError),
    (lambda cam: cam.get_integration_time(-1), ValueError),
    (lambda cam: cam.set_integration_width(0, 1 << 32), ValueError),
    (lambda cam: cam.get_integration_time("0"), TypeError),
    (lambda cam: cam.get_integration_time(0.5), TypeError),
    (lambda cam: cam.set_camera_sn("a\0b"), ValueError),
    (lambda cam: cam.set_camera_sn(5), TypeError),
    (lambda cam: cam.get_window(), TypeError),
    (lambda cam: cam.get_window(0, 1), TypeError),
])
def test_arguments_that_do_not_fit_are_refused_before_the_call(ptree_camera, call, error):
    with pytest.raises(error):
        call(ptree_camera)


def test_closing_destroys_the_handle(c_call):
    with tqvsdk.open("genicam:sim") as cam:
        handle = cam.handle
        clocks = ctypes.c_uint32()
        get_width = c_call("tqvGetIntegrationWidth", UINT32, ctypes.c_void_p, ctypes.c_uint8,
                           ctypes.POINTER(ctypes.c_uint32))
        assert get_width(handle, 0, ctypes.byref(clocks)) == 0
    assert cam.closed and "closed" in repr(cam)
    assert get_width(handle, 0, ctypes.byref(clocks)) == tqvsdk.Result.ERROR
    cam.close()  # a second close does nothing
    with pytest.raises(ValueError, match="closed"):
        cam.get_integration_width(0)


@pytest.mark.parametrize("address, code, function", [
    ("nowhere", tqvsdk.Result.NOT_FOUND, "resOpen"),
    ("sim:notready", tqvsdk.Result.ERROR, "tqvCreateParamTreeEx"),
    ("genicam:nowhere", tqvsdk.Result.NOT_FOUND, "tqvBridgeOpenGenICam"),
])
def test_opening_what_is_not_there_raises(address, code, function):
    with pytest.raises(tqvsdk.TqvError) as raised:
        tqvsdk.open(address)
    assert (raised.value.code, raised.value.function) == (code, function)
