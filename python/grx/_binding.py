"""Loading the library and the chart-database stand-in, and the C forms of the exports' parameters.

Every parameter of an export has a form (the table _exports.py names it): the C types it takes, how
a Python value becomes them and what the call hands back. A new form is one entry of FORMS.
"""

import collections
import ctypes
import os
import sys

from ._exports import EXPORTS

CODE_PAGE = "cp1252"
NO_TRANSACTION = 0xFFFF
NAME_BUFFER_SIZE = 256


class Error(Exception):
    """A call of the library failed; the text is the library's."""


def encode(text, what):
    if not isinstance(text, str):
        raise TypeError("%s: a text is needed, not %s" % (what, type(text).__name__))
    try:
        return text.encode(CODE_PAGE, errors="surrogateescape")
    except UnicodeEncodeError as e:
        raise Error("%s: %r has no place in the code page %s" % (what, text[e.start:e.end], CODE_PAGE)) from None


def decode(raw):
    return raw.decode(CODE_PAGE, errors="surrogateescape") if raw is not None else ""


# ---- the library and the stand-in -------------------------------------------------------------

def _default_library():
    return "w5lhlpax.dll" if sys.platform == "win32" else "libw5lhlpax.so.1"


def _loaded_file(handle, fallback):
    """The file the loader took for a library: the path given, else the one its maps show."""
    if os.path.isabs(fallback):
        return fallback
    if sys.platform == "win32":
        buffer = ctypes.create_unicode_buffer(32768)
        ctypes.windll.kernel32.GetModuleFileNameW(ctypes.c_void_p(handle._handle), buffer, len(buffer))
        return buffer.value
    with open("/proc/self/maps", encoding="utf-8", errors="replace") as maps:
        for line in maps:
            path = line.split(None, 5)[-1].strip()
            if os.path.basename(path).startswith("libw5lhlpax.so"):
                return path
    raise Error("cannot tell where %s was loaded from" % fallback)


def _chart_database_candidates(library_file):
    folder = os.path.dirname(os.path.realpath(library_file))
    name = "Q3JDBMOX.dll" if sys.platform == "win32" else "Q3JDBMOX.so"
    # Beside the library (a build tree, Windows), or in its private module folder (Linux install).
    return [os.path.join(folder, name), os.path.join(folder, "w5lhlpax", name)]


class Binding:
    """The loaded library (its C interface) and the chart-database stand-in it works with."""

    def __init__(self, library=None, chart_database=None):
        library = library or os.environ.get("GRX_LIBRARY") or _default_library()
        if sys.platform == "win32" and os.path.isabs(library):
            os.add_dll_directory(os.path.dirname(library))
        try:
            self.lib = ctypes.CDLL(library)
        except OSError as e:
            raise Error("cannot load the library %s: %s (GRX_LIBRARY names its file)" % (library, e)) from None
        self.library_file = _loaded_file(self.lib, library)
        chart_database = chart_database or os.environ.get("GRX_CHART_DATABASE")
        candidates = [chart_database] if chart_database else _chart_database_candidates(self.library_file)
        found = [c for c in candidates if os.path.exists(c)]
        if not found:
            raise Error("the chart-database stand-in is not beside %s (looked for %s)"
                        % (self.library_file, ", ".join(candidates)))
        self.db = ctypes.CDLL(found[0])
        self.chart_database_file = found[0]
        self._declare()

    def _declare(self):
        lib, db = self.lib, self.db
        lib.grx_last_error.restype = ctypes.c_char_p
        lib.grx_last_error.argtypes = []
        for name, args in (("grx_free_text", [ctypes.c_void_p]),
                           ("grx_free_texts", [ctypes.c_void_p, ctypes.c_size_t]),
                           ("grx_free_ids", [ctypes.c_void_p]),
                           ("grx_free_blocks", [ctypes.c_void_p, ctypes.c_size_t]),
                           ("grx_free_params", [ctypes.c_void_p, ctypes.c_size_t]),
                           ("grx_free_finds", [ctypes.c_void_p, ctypes.c_size_t]),
                           ("grx_free_move_blocks", [ctypes.c_void_p])):
            getattr(lib, name).restype = None
            getattr(lib, name).argtypes = args
        lib.grx_transaction_begin.argtypes = [ctypes.c_uint16, ctypes.POINTER(ctypes.c_uint16)]
        lib.grx_transaction_commit.argtypes = [ctypes.c_uint16]
        lib.grx_transaction_abort.argtypes = [ctypes.c_uint16]
        db.q3sim_LastError.restype = ctypes.c_char_p
        db.q3sim_OpenProject.argtypes = [ctypes.c_char_p, ctypes.c_int]
        db.q3sim_ImportDescription.argtypes = [ctypes.c_char_p, ctypes.c_char_p]
        db.q3sim_ExportDescription.argtypes = [ctypes.POINTER(ctypes.c_char_p)]
        db.q3sim_ResolvePath.argtypes = [ctypes.c_char_p, ctypes.POINTER(ctypes.c_uint64)]
        db.q3sim_PathOf.argtypes = [ctypes.c_uint64, ctypes.POINTER(ctypes.c_char_p)]
        db.q3sim_Controllers.argtypes = [ctypes.POINTER(ctypes.c_uint64), ctypes.c_size_t,
                                         ctypes.POINTER(ctypes.c_size_t)]
        for _, c_name, _, _, result, params, _ in EXPORTS:
            function = getattr(lib, c_name)
            argtypes = [c_type for _, form in params for c_type in FORMS[form].ctypes]
            if result == "text":
                argtypes.append(_voidpp)
            function.argtypes = argtypes
            function.restype = ctypes.c_int

    def grx_program(self):
        """The grx program: GRX_PROGRAM, else the one of the library's installation or build."""
        if os.environ.get("GRX_PROGRAM"):
            return os.environ["GRX_PROGRAM"]
        name = "grx.exe" if sys.platform == "win32" else "grx"
        folder = os.path.dirname(os.path.realpath(self.library_file))
        for candidate in (os.path.join(folder, name), os.path.join(os.path.dirname(folder), "bin", name)):
            if os.path.exists(candidate):
                return candidate
        raise Error("the grx program is not beside %s (GRX_PROGRAM names it)" % self.library_file)

    def last_error(self):
        return decode(self.lib.grx_last_error())

    def check(self):
        """Raises the last error of the library, when the last call left one."""
        text = self.last_error()
        if text:
            raise Error(text)

    def check_db(self, rc, what):
        if rc != 0:
            raise Error("%s: %s" % (what, decode(self.db.q3sim_LastError())))

    def take_text(self, pointer):
        if not pointer:
            return ""
        try:
            return decode(ctypes.string_at(pointer))
        finally:
            self.lib.grx_free_text(pointer)


# ---- records --------------------------------------------------------------------------------

Block = collections.namedtuple("Block", "name id")
Param = collections.namedtuple("Param", "name item_text id")
Find = collections.namedtuple("Find", "location global_var_name root_chart_name kind root_chart_id var_id global_var_id")
MoveBlock = collections.namedtuple("MoveBlock", "block_id proc_group_id block_pos gr_pos tp_name")
VarType = collections.namedtuple("VarType", "name data_type comment position default_value",
                                 defaults=("", 0, ""))
TypeElement = collections.namedtuple("TypeElement", "name data_type nested comment position default_value",
                                     defaults=((), "", 0, ""))


class _CBlock(ctypes.Structure):
    _fields_ = [("name", ctypes.c_void_p), ("id", ctypes.c_uint64)]


class _CParam(ctypes.Structure):
    _fields_ = [("name", ctypes.c_void_p), ("item_text", ctypes.c_void_p), ("id", ctypes.c_uint64)]


class _CFind(ctypes.Structure):
    _fields_ = [("location", ctypes.c_char_p), ("global_var_name", ctypes.c_char_p),
                ("root_chart_name", ctypes.c_char_p), ("kind", ctypes.c_int32), ("root_chart_id", ctypes.c_uint64),
                ("var_id", ctypes.c_uint64), ("global_var_id", ctypes.c_uint64)]


class _CMoveBlock(ctypes.Structure):
    _fields_ = [("block_id", ctypes.c_uint64), ("proc_group_id", ctypes.c_uint64), ("block_pos", ctypes.c_int16),
                ("gr_pos", ctypes.c_int16), ("tp_name", ctypes.c_char * 28)]


class _CInVarType(ctypes.Structure):
    _pack_ = 4


_CInVarType._fields_ = [("name", ctypes.c_char * 52), ("comment", ctypes.c_char * 52), ("position", ctypes.c_int32),
                        ("data_type", ctypes.c_int32), ("default_value", ctypes.c_char * 257),
                        ("reserved", ctypes.c_char * 31), ("next", ctypes.POINTER(_CInVarType))]


class _COutVarType(ctypes.Structure):
    _pack_ = 4


_COutVarType._fields_ = [("name", ctypes.c_char * 52), ("comment", ctypes.c_char * 52), ("position", ctypes.c_int32),
                         ("data_type", ctypes.c_int32), ("default_value", ctypes.c_char * 257),
                         ("reserved", ctypes.c_char * 23), ("next", ctypes.POINTER(_COutVarType))]


class _CTypeElement(ctypes.Structure):
    _pack_ = 4


_CTypeElement._fields_ = [("name", ctypes.c_char * 52), ("comment", ctypes.c_char * 52),
                          ("position", ctypes.c_int32), ("data_type", ctypes.c_int32),
                          ("nesting_level", ctypes.c_int32), ("first_nested", ctypes.POINTER(_CTypeElement)),
                          ("default_value", ctypes.c_char * 256), ("next", ctypes.POINTER(_CTypeElement))]


def _fixed(text, size, what):
    raw = encode(text, what)
    if len(raw) >= size:
        raise Error("%s: %r is longer than %d bytes" % (what, text, size - 1))
    return raw


def _fill(record, item, what):
    """The fields a parameter-type record and a structure element share."""
    record.name = _fixed(item.name, 52, what)
    record.comment = _fixed(item.comment, 52, what)
    record.position = item.position
    record.data_type = int(item.data_type)
    record.default_value = _fixed(item.default_value, 256, what)


def _linked(records):
    """Links the records into a chain; a pointer to the first, or None."""
    for record, following in zip(records, records[1:]):
        record.next = ctypes.pointer(following)
    return ctypes.pointer(records[0]) if records else None


def _var_type_chain(record_type, items, what):
    """A chain of parameter-type records from a list of VarType; the records stay alive with it."""
    if items is None:
        return None, []
    records = [record_type() for _ in items]
    for record, item in zip(records, items):
        _fill(record, VarType(*item) if not isinstance(item, VarType) else item, what)
    return _linked(records), records


def _element_list(items, what, level=0, keep=None):
    keep = [] if keep is None else keep
    if not items:
        return None, keep
    records = [_CTypeElement() for _ in items]
    keep.extend(records)
    for record, item in zip(records, items):
        item = TypeElement(*item) if not isinstance(item, TypeElement) else item
        _fill(record, item, what)
        record.nesting_level = level
        nested, _ = _element_list(item.nested, what, level + 1, keep)
        if nested is not None:
            record.first_nested = nested
    return _linked(records), keep


# ---- forms ----------------------------------------------------------------------------------

class Form:
    """One form of parameter.

    ctypes: the C parameters it takes. takes_input: whether the caller passes a value. default: the
    value when the caller passes none (REQUIRED when it must). prepare(call, value) returns the C
    arguments and a state; result(call, state) the value handed back (None: nothing is).
    """

    def __init__(self, ctypes_list, takes_input, default, prepare, result=None):
        self.ctypes = ctypes_list
        self.takes_input = takes_input
        self.default = default
        self.prepare = prepare
        self.result = result


REQUIRED = object()
CURRENT_TRANSACTION = object()

_u64p = ctypes.POINTER(ctypes.c_uint64)
_sizep = ctypes.POINTER(ctypes.c_size_t)
_voidpp = ctypes.POINTER(ctypes.c_void_p)


def _plain(c_type, convert=int):
    return Form([c_type], True, REQUIRED, lambda call, v: ([convert(v)], None))


def _out_scalar(c_type, convert=int):
    def prepare(call, v):
        cell = c_type()
        return [ctypes.byref(cell)], cell
    return Form([ctypes.POINTER(c_type)], False, None, prepare, lambda call, cell: convert(cell.value))


def _id_form():
    return Form([ctypes.c_uint64], True, REQUIRED, lambda call, v: ([call.project.id_of(v, call.name)], None))


def _inout_id():
    def prepare(call, v):
        cell = ctypes.c_uint64(call.project.id_of(v, call.name))
        return [ctypes.byref(cell)], cell
    return Form([_u64p], True, 0, prepare, lambda call, cell: cell.value)


def _transaction():
    def prepare(call, v):
        return [call.project.current_transaction if v is CURRENT_TRANSACTION else int(v)], None
    return Form([ctypes.c_uint16], True, CURRENT_TRANSACTION, prepare)


def _text(optional):
    def prepare(call, v):
        if v is None:
            if not optional:
                raise TypeError("%s: a text is needed" % call.name)
            return [None], None
        return [encode(v, call.name)], None
    return Form([ctypes.c_char_p], True, None if optional else REQUIRED, prepare)


def _out_text():
    def prepare(call, v):
        cell = ctypes.c_void_p()
        return [ctypes.byref(cell)], cell
    return Form([_voidpp], False, None, prepare, lambda call, cell: call.binding.take_text(cell.value))


def _inout_text():
    def prepare(call, v):
        cell = ctypes.c_void_p()
        return [encode(v, call.name), ctypes.byref(cell)], cell
    return Form([ctypes.c_char_p, _voidpp], True, "", prepare, lambda call, cell: call.binding.take_text(cell.value))


def _name_buffer():
    def prepare(call, v):
        buffer = ctypes.create_string_buffer(_fixed(v, NAME_BUFFER_SIZE, call.name), NAME_BUFFER_SIZE)
        return [buffer, NAME_BUFFER_SIZE], buffer
    return Form([ctypes.c_char_p, ctypes.c_size_t], True, REQUIRED, prepare,
                lambda call, buffer: decode(buffer.value))


def _texts():
    def prepare(call, v):
        items = [encode(t, call.name) for t in v]
        array = (ctypes.c_char_p * max(len(items), 1))(*items)
        return [array, len(items)], array
    return Form([ctypes.POINTER(ctypes.c_char_p), ctypes.c_size_t], True, REQUIRED, prepare)


def _list_out(item_type, read, free):
    """A list the library allocates: read(call, pointer, count) turns it into Python values."""
    def prepare(call, v):
        pointer, count = ctypes.POINTER(item_type)(), ctypes.c_size_t()
        return [ctypes.byref(pointer), ctypes.byref(count)], (pointer, count)

    def result(call, state):
        pointer, count = state
        if not pointer:
            return []
        try:
            return read(call, pointer, count.value)
        finally:
            free(call.binding, pointer, count.value)
    return Form([ctypes.POINTER(ctypes.POINTER(item_type)), _sizep], False, None, prepare, result)


def _read_ids(call, p, n):
    return [p[i] for i in range(n)]


def _read_texts(call, p, n):
    return [decode(ctypes.string_at(p[i])) if p[i] else "" for i in range(n)]


def _read_blocks(call, p, n):
    return [Block(decode(ctypes.string_at(p[i].name)), p[i].id) for i in range(n)]


def _read_params(call, p, n):
    return [Param(decode(ctypes.string_at(p[i].name)), decode(ctypes.string_at(p[i].item_text)), p[i].id)
            for i in range(n)]


def _read_finds(call, p, n):
    return [Find(decode(p[i].location), decode(p[i].global_var_name), decode(p[i].root_chart_name), p[i].kind,
                 p[i].root_chart_id, p[i].var_id, p[i].global_var_id) for i in range(n)]


def _read_move_blocks(call, p, n):
    return [MoveBlock(p[i].block_id, p[i].proc_group_id, p[i].block_pos, p[i].gr_pos, decode(p[i].tp_name))
            for i in range(n)]


def _free_counted(name):
    return lambda binding, p, n: getattr(binding.lib, name)(p, n)


def _free_plain(name):
    return lambda binding, p, n: getattr(binding.lib, name)(p)


def _find_record(item, what):
    item = Find(*item) if not isinstance(item, Find) else item
    record = _CFind()
    record.location = encode(item.location, what)
    record.global_var_name = encode(item.global_var_name, what)
    record.root_chart_name = encode(item.root_chart_name, what)
    record.kind = item.kind
    record.root_chart_id = item.root_chart_id
    record.var_id = item.var_id
    record.global_var_id = item.global_var_id
    return record


def _move_block_record(item, what):
    item = MoveBlock(*item) if not isinstance(item, MoveBlock) else item
    record = _CMoveBlock()
    record.block_id = item.block_id
    record.proc_group_id = item.proc_group_id
    record.block_pos = item.block_pos
    record.gr_pos = item.gr_pos
    record.tp_name = _fixed(item.tp_name, 28, what)
    return record


def _list_inout(item_type, make, read, free):
    out = _list_out(item_type, read, free)

    def prepare(call, v):
        made = [make(item, call.name) for item in v]  # they hold the texts the records point to
        records = (item_type * max(len(made), 1))(*made)
        args, state = out.prepare(call, None)
        return [records, len(made)] + args, (state, records, made)
    return Form([ctypes.POINTER(item_type), ctypes.c_size_t] + out.ctypes, True, REQUIRED, prepare,
                lambda call, state: out.result(call, state[0]))


def _chain(record_type):
    def prepare(call, v):
        first, keep = _var_type_chain(record_type, v, call.name)
        return [first], keep
    return Form([ctypes.POINTER(record_type)], True, None, prepare)


def _elements():
    def prepare(call, v):
        first, keep = _element_list(v, call.name)
        return [first], keep
    return Form([ctypes.POINTER(_CTypeElement)], True, None, prepare)


def _data_type_ref():
    def prepare(call, v):
        if v is None:
            return [None], None
        cell = ctypes.c_int32(int(v))
        return [ctypes.byref(cell)], cell
    return Form([ctypes.POINTER(ctypes.c_int32)], True, None, prepare)


FORMS = {
    "transaction": _transaction(),
    "id": _id_form(),
    "out_id": _out_scalar(ctypes.c_uint64),
    "inout_id": _inout_id(),
    "uint32": _plain(ctypes.c_uint32),
    "uint16": _plain(ctypes.c_uint16),
    "int32": _plain(ctypes.c_int32),
    "int": _plain(ctypes.c_int),
    "flag": _plain(ctypes.c_int, lambda v: 1 if v else 0),
    "out_flag": _out_scalar(ctypes.c_int, bool),
    "out_int32": _out_scalar(ctypes.c_int32),
    "out_int": _out_scalar(ctypes.c_int),
    "out_uint32": _out_scalar(ctypes.c_uint32),
    "out_uint16": _out_scalar(ctypes.c_uint16),
    "out_data_type": _out_scalar(ctypes.c_int32),
    "data_type_ref": _data_type_ref(),
    "window": Form([ctypes.c_size_t], True, 0, lambda call, v: ([int(v)], None)),
    "text": _text(False),
    "optional_text": _text(True),
    "out_text": _out_text(),
    "inout_text": _inout_text(),
    "name_buffer": _name_buffer(),
    "texts": _texts(),
    "out_ids": _list_out(ctypes.c_uint64, _read_ids, _free_plain("grx_free_ids")),
    "out_texts": _list_out(ctypes.c_void_p, _read_texts, _free_counted("grx_free_texts")),
    "out_blocks": _list_out(_CBlock, _read_blocks, _free_counted("grx_free_blocks")),
    "out_params": _list_out(_CParam, _read_params, _free_counted("grx_free_params")),
    "out_finds": _list_out(_CFind, _read_finds, _free_counted("grx_free_finds")),
    "inout_finds": _list_inout(_CFind, _find_record, _read_finds, _free_counted("grx_free_finds")),
    "out_move_blocks": _list_out(_CMoveBlock, _read_move_blocks, _free_plain("grx_free_move_blocks")),
    "inout_move_blocks": _list_inout(_CMoveBlock, _move_block_record, _read_move_blocks,
                                     _free_plain("grx_free_move_blocks")),
    "in_var_types": _chain(_CInVarType),
    "out_var_types": _chain(_COutVarType),
    "type_elements": _elements(),
    "pointer": Form([ctypes.c_void_p], True, None, lambda call, v: ([v], None)),
}

RESULTS = {"bool": bool, "int": int, "text": str}
