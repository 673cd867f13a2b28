"""The generator's rules on small tables and headers, and the descriptors of the real ones
against the libraries."""

import os
import re
import sys

import pytest

import tqvsdk
from tqvsdk import _camera, _generated
from conftest import SOURCE_DIR

sys.path.insert(0, os.path.join(SOURCE_DIR, "python"))
import generate  # noqa: E402

HEADER = """
#define TQV_OK 0u
#define TQV_ERROR 0xFFFFFFFFu
typedef uint32_t tqvEEventType;
#pragma pack(push, 1)
typedef struct tqvSPoint {
  uint16_t x, y;
  char label[8];
} tqvSPoint;
#pragma pack(pop)
typedef struct tqvSPlain { double* values; uint32_t count; } tqvSPlain;
TQV_API uint32_t tqv%s(void* handle, %s);
TQV_API const char* tqvColourText(uint32_t code);
TQV_API uint32_t tqvColourEnum(const char* text);
"""


def describe(parameters, table_names, name="GetThing"):
    table = f"TQV_OP({name}, (...), ({', '.join(table_names)}))\n"
    text = generate.generate(table, HEADER % (name, parameters))
    namespace = {}
    exec(compile(text, "<generated>", "exec"), namespace)
    return namespace


# (C parameters, table names, expected (name, C type, role, extent) of each parameter)
ROLES = [
    ("uint8_t preset, uint16_t* width, float* gain", ["preset", "width", "gain"],
     [("preset", "uint8_t", "in", 0), ("width", "uint16_t", "out", 0),
      ("gain", "float", "out", 0)]),
    ("uint16_t* code, char* buffer, int32_t size", ["code", "buffer", "size"],
     [("code", "uint16_t", "out", 0), ("text", "char", "text", 0)]),
    ("const char* oldName, const char* newName", ["oldName", "newName"],
     [("old_name", "const char*", "in", 0), ("new_name", "const char*", "in", 0)]),
    ("tqvEEventType* event", ["event"], [("event", "uint32_t", "out", 0)]),
    ("tqvSPoint* where", ["where"], [("where", "tqvSPoint", "record", 0)]),
    ("tqvDirEntryArray* list", ["list"], [("list", "tqvDirEntryArray*", "dir_list", 0)]),
    ("zel::TArray<zel::CString>& list", ["list"],
     [("list", "zel::TArray<zel::CString>&", "text_list", 0)]),
    ("tqvFilePtr file, tqvProgressDelegate progress", ["file", "progress"],
     [("file", "tqvFilePtr", "file_in", 0), ("progress", "tqvProgressDelegate", "progress", 0)]),
]


@pytest.mark.parametrize("parameters, names, expected", ROLES, ids=[r[0] for r in ROLES])
def test_parameters_get_their_roles(parameters, names, expected):
    function = describe(parameters, names)["FUNCTIONS"][0]
    assert function[0] == "get_thing" and function[4] == tuple(expected)


def test_downloads_write_their_host_file_and_go_through_the_bridge():
    function = describe("const char* name, tqvFilePtr file", ["name", "file"],
                        name="DownloadThing")["FUNCTIONS"][0]
    assert function[3] is True and function[4][1][2] == "file_out"


def test_several_outputs_name_a_tuple_and_one_does_not():
    assert describe("uint16_t* a, uint16_t* b", ["a", "b"])["FUNCTIONS"][0][5] == "Thing"
    assert describe("uint16_t* a", ["a"])["FUNCTIONS"][0][5] is None


def test_records_codes_and_enumerations_are_read_from_the_header():
    namespace = describe("uint8_t a", ["a"])
    assert namespace["RESULT_CODES"] == (("OK", 0), ("ERROR", 0xFFFFFFFF))
    assert namespace["ENUMERATIONS"] == ("Colour",)
    point, plain = namespace["RECORDS"]
    assert point == ("tqvSPoint", "Point", True,
                     (("x", "x", "uint16_t", 0, None), ("y", "y", "uint16_t", 0, None),
                      ("label", "label", "char", 8, None)))
    assert plain[2] is False


@pytest.mark.parametrize("parameters, names, message", [
    ("void* thing", ["thing"], "no Python form"),
    ("uint8_t a, uint8_t b", ["a"], "differ in parameters"),
])
def test_what_cannot_be_described_stops_the_generator(parameters, names, message):
    with pytest.raises(generate.GenerationError, match=message):
        describe(parameters, names)


def test_an_operation_the_header_lacks_stops_the_generator():
    with pytest.raises(generate.GenerationError, match="does not declare tqvGetOther"):
        generate.generate("TQV_OP(GetOther, (), ())\n", HEADER % ("GetThing", "uint8_t a"))


@pytest.mark.parametrize("name, expected", [
    ("GetNUCName", "get_nuc_name"), ("ListNUCs", "list_nucs"), ("IsTQV2", "is_tqv2"),
    ("GetFPABiasEx", "get_fpa_bias_ex"), ("bpAboveADMaxSrc1", "bp_above_ad_max_src1"),
    ("xOffset", "x_offset"), ("word1E", "word1e"), ("from", "from_"),
])
def test_python_names(name, expected):
    assert generate.snake(name) == expected


def test_every_operation_of_the_table_is_a_method_in_table_order():
    with open(os.path.join(SOURCE_DIR, "src", "interface", "operations.def")) as table:
        operations = re.findall(r"^TQV_OP\((\w+),", table.read(), re.M)
    described = [f[1] for f in _generated.FUNCTIONS if f[2]]
    assert described == operations
    for name in operations:
        assert callable(getattr(tqvsdk.Camera, generate.snake(name)))


def test_every_function_through_the_bridge_has_its_c_form():
    bridged = {f[1] for f in _generated.FUNCTIONS if f[3]}
    table = _camera._binder._bridge(tqvsdk.libraries())
    assert bridged and bridged <= set(table)
    assert all(table[name] for name in bridged)
