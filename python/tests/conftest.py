"""Fixtures: cameras on both simulated backends, and the library for calls made directly."""

import ctypes
import os

import pytest

import tqvsdk

ADDRESSES = {"ptree": "sim", "genicam": "genicam:sim"}
SOURCE_DIR = os.environ.get("TQVSDK_SOURCE_DIR") or os.path.dirname(
    os.path.dirname(os.path.dirname(os.path.abspath(__file__))))


@pytest.fixture(params=sorted(ADDRESSES))
def camera(request):
    """A camera on each backend in turn."""
    with tqvsdk.open(ADDRESSES[request.param]) as cam:
        yield cam


@pytest.fixture
def ptree_camera():
    with tqvsdk.open("sim") as cam:
        yield cam


@pytest.fixture
def sdk():
    """libtqvSDK, for checking the package against the C functions themselves."""
    return tqvsdk.libraries().sdk


@pytest.fixture
def c_call(sdk):
    """c_call(name, restype, *argtypes) -> the C function with its prototype set."""
    def prototyped(name, restype, *argtypes):
        function = getattr(sdk, name)
        function.argtypes, function.restype = list(argtypes), restype
        return function
    return prototyped


UINT32 = ctypes.c_uint32
