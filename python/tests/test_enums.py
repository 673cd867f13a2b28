"""Enumerations made from the library's Text/Enum tables."""

import ctypes

import pytest

import tqvsdk
from tqvsdk import _enums, _generated


@pytest.mark.parametrize("name", _generated.ENUMERATIONS)
def test_every_member_carries_the_library_text_and_back(name, sdk):
    enumeration = getattr(tqvsdk, name)
    assert issubclass(enumeration, _enums.TextEnum) and len(enumeration) > 0
    text = getattr(sdk, f"tqv{name}Text")
    text.restype = ctypes.c_char_p
    for member in enumeration:
        assert member.text == text(member.value).decode()
        assert enumeration.from_text(member.text) is member
    known = {member.value for member in enumeration}
    assert all(text(code) is None for code in range(256) if code not in known)


@pytest.mark.parametrize("enumeration, member, value, text", [
    ("PresetSequencingMode", "SUPERFRAMING", 2, "Superframing"),
    ("FlagState", "IN_FOV", 1, "InFOV"),
    ("VideoZoomFactor", "V1_2X", 0, "1/2x"),
    ("VideoZoomFactor", "BEST_FIT", 5, "BestFit"),
    ("VideoFormat", "V720P60HZ", 5, "720P60Hz"),
    ("VideoTemporalFilter", "V4_TAP_MOTION_ADAPTIVE", 3, "4-Tap Motion Adaptive"),
])
def test_members_are_named_after_their_texts(enumeration, member, value, text):
    found = getattr(getattr(tqvsdk, enumeration), member)
    assert (found.value, found.text, found) == (value, text, value)


def test_texts_match_by_the_library_rule_or_are_refused():
    assert tqvsdk.FOV.from_text("WIDE") is tqvsdk.FOV.WIDE  # the library ignores case here
    with pytest.raises(ValueError):
        tqvsdk.Polarity.from_text("active low")


def test_settings_read_as_enumeration_members(camera):
    camera.set_preset_sequencing_mode(tqvsdk.PresetSequencingMode.SUPERFRAMING)
    mode = tqvsdk.PresetSequencingMode(camera.get_preset_sequencing_mode())
    assert mode is tqvsdk.PresetSequencingMode.SUPERFRAMING
    assert tqvsdk.BoardType(camera.get_board_type()).text == "WZN"

