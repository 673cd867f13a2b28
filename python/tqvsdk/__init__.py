"""tqvsdk: Python access to libtqvSDK, the control library of cooled-infrared cameras.

    import tqvsdk
    with tqvsdk.open("sim") as cam:              # "genicam:sim" for the GenICam simulated device
        cam.set_integration_time(0, 2.5)         # every camera operation is a method
        print(cam.get_integration_time(0))
        print(cam.get_window(0).width)           # several outputs: a named tuple

Result codes other than TQV_OK raise TqvError (.code, .text). The enumerations of the camera
settings (tqvsdk.TriggerSource, tqvsdk.BoardType, ...) are IntEnums made from the library's own
tables. Correction files as numpy arrays are in tqvsdk.corrections, frame headers in
tqvsdk.headers. See docs/python.md.
"""

import importlib

from . import _enums, _generated, headers
from ._camera import Camera, DirEntry, InfoEntry, RESULT_TUPLES, open
from ._lib import RECORDS, Result, TqvError, error_text, libraries, search_directories

__all__ = ["Camera", "DirEntry", "InfoEntry", "Result", "TqvError", "error_text", "headers",
           "libraries", "open", "search_directories", "corrections"]
__all__ += [record.name for record in RECORDS.values()]
__all__ += list(RESULT_TUPLES)
__all__ += list(_generated.ENUMERATIONS)

globals().update({record.name: record.python for record in RECORDS.values()})
globals().update(RESULT_TUPLES)


def __getattr__(name):
    # The enumerations need the library, and corrections needs numpy: both load on first use.
    if name in _generated.ENUMERATIONS:
        return _enums.enumeration(name)
    if name == "corrections":
        return importlib.import_module(".corrections", __name__)
    raise AttributeError(f"module 'tqvsdk' has no attribute {name!r}")


def __dir__():
    return sorted(set(globals()) | set(__all__))
