#!/usr/bin/env python3
"""Writes tqvsdk/_generated.py, the descriptors of the tqvsdk package.

Input: the operation table (src/interface/operations.def), which lists every camera operation in
interface order with its parameter names, and the public header (include/tqvSDK.h), which declares
each entry point in its C form (entry arrays instead of framework arrays, typedefs for host files
and progress delegates), the other functions that take a handle, the Text/Enum pairs of the
enumerations, the result codes and the records.

Output: data only. The package turns the descriptors into Camera methods, ctypes records,
dataclasses and enumerations when it is imported; nothing in it is written per operation.
"""

import argparse
import keyword
import pprint
import re
import sys

# Pointer parameters that carry a fixed number of elements rather than one output value.
ARRAYS = {
    ("CalcMinSuperframeWidth", "integrationWidths"): ("in_array", 4),
    ("CalcMinSuperframeWidth", "enabled"): ("in_array", 4),
    ("GetVideoOverlayPalette", "palette"): ("out_array", 256),
}

# Record fields that point to arrays handed out with the record, and the field with their length.
RECORD_ARRAYS = {
    ("tqvSCalInfo", "lutX"): "lutSize",
    ("tqvSCalInfo", "lutY"): "lutSize",
}

SCALARS = {
    "uint8_t", "uint16_t", "uint32_t", "uint64_t", "int8_t", "int16_t", "int32_t", "int64_t",
    "float", "double", "bool", "size_t",
}

# Handle-taking functions of the header that are not camera methods.
NOT_METHODS = {"Destroy"}

# C++-only parameter types of the header and the role their C form has in the bridge library.
FRAMEWORK_ROLES = {
    "tqvFilePtr": "file",
    "tqvProgressDelegate": "progress",
    "zel::TArray<zel::CString>&": "text_list",
    "zel::TArray<uint8_t>&": "code_list",
}

ENTRY_ARRAY_ROLES = {"tqvDirEntryArray*": "dir_list", "tqvInfoEntryArray*": "info_list"}


class GenerationError(Exception):
    pass


def snake(name):
    """GetNUCName -> get_nuc_name, xOffset -> x_offset, ListNUCs -> list_nucs."""
    text = re.sub(r"([A-Z]{2,})s(?![a-z])", r"\1S", name)  # a plural acronym stays one word
    text = re.sub(r"([A-Z]+)([A-Z][a-z])", r"\1_\2", text)
    text = re.sub(r"([a-z])([A-Z])", r"\1_\2", text)
    text = text.lower()
    return text + "_" if keyword.iskeyword(text) else text


def strip_comments(text):
    text = re.sub(r"/\*.*?\*/", " ", text, flags=re.S)
    return re.sub(r"//[^\n]*", " ", text)


def split_top(text, separator=","):
    """Splits at separators outside <> and ()."""
    parts, depth, current = [], 0, ""
    for char in text:
        if char in "<(":
            depth += 1
        elif char in ">)":
            depth -= 1
        if char == separator and depth == 0:
            parts.append(current)
            current = ""
        else:
            current += char
    if current.strip():
        parts.append(current)
    return [part.strip() for part in parts]


def split_declarator(text):
    """'const char* name' -> ('const char*', 'name', 0); 'uint8_t raw[8]' -> (..., 'raw', 8)."""
    match = re.fullmatch(r"(.*?)\s*\b(\w+)\s*(?:\[(\d+)\])?", " ".join(text.split()))
    if not match:
        raise GenerationError(f"cannot read the declaration '{text}'")
    ctype = re.sub(r"\s*([*&])", r"\1", match.group(1)).strip()
    return ctype, match.group(2), int(match.group(3)) if match.group(3) else 0


def read_table(text):
    """The operations in table order: (name, [parameter names])."""
    operations = []
    for match in re.finditer(r"^TQV_OP\((\w+),\s*\((.*?)\),\s*\((.*?)\)\)\s*$", text, re.M):
        names = [name.strip() for name in match.group(3).split(",") if name.strip()]
        operations.append((match.group(1), names))
    if not operations:
        raise GenerationError("the operation table lists no operation")
    return operations


def read_header(text):
    plain = strip_comments(text)
    aliases = dict((name, ctype) for ctype, name in
                   re.findall(r"typedef\s+(\w+)\s+(\w+)\s*;", plain) if ctype in SCALARS)


    def resolve(ctype):
        base = ctype.rstrip("*&")
        return aliases.get(base, base) + ctype[len(base):]

    functions = {}
    for match in re.finditer(r"TQV_API\s+([^;{}()]*?)\s*\b(tqv\w+)\s*\(([^()]*)\)\s*;", plain):
        result, name, params = " ".join(match.group(1).split()), match.group(2), match.group(3)
        parameters = []
        for param in split_top(params):
            if param == "void":
                continue
            ctype, pname, extent = split_declarator(param)
            if extent:
                raise GenerationError(f"{name}: array parameter {pname}")
            parameters.append((resolve(ctype), pname))
        functions[name] = (result.replace(" *", "*"), parameters)

    codes = [(name, int(value, 0)) for name, value in
             re.findall(r"#define\s+TQV_(\w+)\s+(0x[0-9A-Fa-f]+|\d+)u\b", plain)]

    enumerations = [name for name in re.findall(r"\btqv(\w+)Text\b", plain)
                    if f"tqv{name}Enum" in functions
                    and functions[f"tqv{name}Text"] == ("const char*", [("uint32_t", "code")])]

    records = []
    for match in re.finditer(r"typedef\s+struct\s+(\w+)\s*\{(.*?)\}\s*\1\s*;", plain, re.S):
        before = plain[:match.start()]
        packed = before.count("#pragma pack(push, 1)") > before.count("#pragma pack(pop)")
        fields = []
        for line in match.group(2).split(";"):
            if not line.strip():
                continue
            first, *more = split_top(line)
            ctype, fname, extent = split_declarator(first)
            declarators = [(fname, extent)] + [split_declarator(ctype + " " + other)[1:]
                                               for other in more]
            for fname, extent in declarators:
                length = RECORD_ARRAYS.get((match.group(1), fname))
                fields.append((fname, snake(fname), resolve(ctype), extent, length))
        records.append((match.group(1), match.group(1)[4:], packed, tuple(fields)))
    return functions, tuple(codes), tuple(enumerations), tuple(records)


def roles(function, parameters, records):
    """The role of each parameter of a function's C declaration (after the handle)."""
    record_names = {record[0] for record in records}
    result, index = [], 0
    while index < len(parameters):
        ctype, name = parameters[index]
        following = parameters[index + 1][0] if index + 1 < len(parameters) else None
        if (function, name) in ARRAYS:
            role, extent = ARRAYS[(function, name)]
            result.append((name, ctype.rstrip("*"), role, extent))
        elif ctype == "char*" and following == "int32_t":
            result.append(("text", "char", "text", 0))
            index += 1
        elif ctype in SCALARS or ctype == "const char*":
            result.append((name, ctype, "in", 0))
        elif ctype.endswith("*") and ctype[:-1] in SCALARS:
            result.append((name, ctype[:-1], "out", 0))
        elif ctype.endswith("*") and ctype[:-1] in record_names:
            result.append((name, ctype[:-1], "record", 0))
        elif ctype in ENTRY_ARRAY_ROLES:
            result.append((name, ctype, ENTRY_ARRAY_ROLES[ctype], 0))
        elif ctype in FRAMEWORK_ROLES:
            role = FRAMEWORK_ROLES[ctype]
            if role == "file":
                role = "file_out" if function.startswith("Download") else "file_in"
            result.append((name, ctype, role, 0))
        else:
            raise GenerationError(
                f"tqv{function}: parameter '{ctype} {name}' has no Python form; "
                "teach python/generate.py (roles) and the package (tqvsdk/_camera.py) about it")
        index += 1
    return tuple(result)


def describe(function, python_names, declaration, records, in_table):
    result_type, parameters = declaration
    if result_type != "uint32_t" or not parameters or parameters[0] != ("void*", "handle"):
        raise GenerationError(f"tqv{function} does not take a handle and return a result code")
    described = roles(function, parameters[1:], records)
    if python_names is not None:
        if len(python_names) != len(parameters) - 1:
            raise GenerationError(f"{function}: the table and the header differ in parameters")
        names = iter(python_names)
        renamed = []
        for name, ctype, role, extent in described:
            table_name = next(names)
            if role == "text":
                next(names)  # the buffer's size
                table_name = "text"
            renamed.append((table_name, ctype, role, extent))
        described = tuple(renamed)
    bridged = any(p[2] in ("file_in", "file_out", "progress", "text_list", "code_list")
                  for p in described)
    shaped = tuple((snake(name), ctype, role, extent) for name, ctype, role, extent in described)
    outputs = [p for p in shaped if p[2] not in ("in", "in_array", "file_in", "file_out",
                                                 "progress")]
    tuple_name = (function[3:] if function.startswith("Get") else function) \
        if len(outputs) > 1 else None
    return (snake(function), function, in_table, bridged, shaped, tuple_name)


def generate(table_text, header_text):
    operations = read_table(table_text)
    functions, codes, enumerations, records = read_header(header_text)
    described, seen = [], set()
    for name, parameter_names in operations:
        declaration = functions.get("tqv" + name)
        if declaration is None:
            raise GenerationError(f"the header does not declare tqv{name}")
        described.append(describe(name, parameter_names, declaration, records, True))
        seen.add(name)
    for cname, declaration in functions.items():
        name = cname[3:]
        result_type, parameters = declaration
        # tqv<Operation>C: the C-callback form of an operation the bridge already serves.
        if (name in seen or name in NOT_METHODS or (name.endswith("C") and name[:-1] in seen)
                or result_type != "uint32_t" or not parameters
                or parameters[0] != ("void*", "handle")):
            continue
        described.append(describe(name, None, declaration, records, False))
    # A tuple whose short name is taken by a record or another tuple keeps the whole name.
    taken = {record[1] for record in records}
    for index, entry in enumerate(described):
        if entry[5] is not None and entry[5] in taken:
            described[index] = entry[:5] + (entry[1],)
        if described[index][5] is not None:
            if described[index][5] in taken:
                raise GenerationError(f"two results are named {described[index][5]}")
            taken.add(described[index][5])
    python_names = [entry[0] for entry in described]
    duplicates = {name for name in python_names if python_names.count(name) > 1}
    if duplicates:
        raise GenerationError(f"two functions share the Python names {sorted(duplicates)}")

    def block(name, value, comment):
        return f"# {comment}\n{name} = {pprint.pformat(value, width=100)}\n"

    return "\n".join([
        '"""Descriptors of the tqvsdk package, written by python/generate.py from the operation '
        'table\nand the public header. Do not edit."""\n',
        block("RESULT_CODES", codes, "(name, code) of every result code."),
        block("ENUMERATIONS", enumerations,
              "Enumerations with a Text/Enum pair of functions (tqv<Name>Text, tqv<Name>Enum)."),
        block("RECORDS", records,
              "(C name, Python name, packed, fields); field: (C name, Python name, C type,\n"
              "#  array extent or 0, the field with the length of the array it points to)."),
        block("FUNCTIONS", tuple(described),
              "(method name, C name without tqv, in the operation table, through the bridge,\n"
              "#  parameters, name of the tuple of several outputs); parameter: (name, C type,\n"
              "#  role, extent). Roles: in, out, text (a text output), in_array, out_array,\n"
              "#  record, dir_list, info_list, text_list, code_list, file_in (a host file the\n"
              "#  call reads), file_out (one it writes), progress."),
    ])


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--table", required=True, help="src/interface/operations.def")
    parser.add_argument("--header", required=True, help="include/tqvSDK.h")
    parser.add_argument("--output", required=True, help="the module to write")
    args = parser.parse_args(argv)
    with open(args.table, encoding="utf-8") as table, \
            open(args.header, encoding="utf-8") as header:
        try:
            text = generate(table.read(), header.read())
        except GenerationError as error:
            print(f"generate.py: {error}", file=sys.stderr)
            return 1
    with open(args.output, "w", encoding="utf-8") as output:
        output.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
