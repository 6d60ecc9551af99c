"""The helper library w5lhlpax of the CFC chart editor, from Python.

    import grx
    with grx.Project("plant.db") as project:
        uses = project.find_global_var("D445_AXES", "Speed").results
        with project.transaction():
            project.replace_glob_var("D445_AXES", "Speed", "AxisSpeed")

Every export of the library is a method of Project, named after it (W5GRX_RootPlansFromCPU is
root_plans_from_cpu; the second overload of a name gets _2). Objects are given as ids or as object
paths ("D445_AXES/axis1"); texts are str (in the project's code page, Windows-1252); a method
answers the export's result, or, when the export has out-values, an answer with .result and one
attribute per out-value. A failing call raises grx.Error with the library's text. Transactions
default to the one the innermost `with project.transaction()` opened.
"""

import collections
import contextlib
import ctypes
import json
import keyword
import subprocess

from ._binding import (Binding, Block, Error, Find, MoveBlock, Param, TypeElement, VarType, FORMS, RESULTS,
                       NO_TRANSACTION, REQUIRED, decode, encode)
from ._exports import EXPORTS

__all__ = ["Project", "Error", "Block", "Param", "Find", "MoveBlock", "VarType", "TypeElement", "Finding",
           "NO_TRANSACTION", "EXPORTS"]
__version__ = "1.0.0"

OPEN_EXISTING, OPEN_CREATE, OPEN_READ_ONLY = 0, 1, 2

# A finding of the whole-controller check: its kind, the object's path, the message, details.
Finding = collections.namedtuple("Finding", "kind path message details")

_binding = None


def _shared_binding(library=None):
    """One binding per process: the library keeps one project open at a time."""
    global _binding
    if _binding is None:
        _binding = Binding(library)
    return _binding


class _Call:
    def __init__(self, project, name):
        self.project = project
        self.binding = project._binding
        self.name = name


class Project:
    """A project opened in the chart-database stand-in; closed by close() or at the end of a with."""

    _open = None

    def __init__(self, path, read_only=False, create=False, library=None):
        self._binding = _shared_binding(library)
        if Project._open is not None:
            raise Error("a project is open already (%s); close it first" % Project._open.path)
        db = self._binding.db
        self.path = str(path)
        if self.path.endswith(".json"):
            with open(self.path, "rb") as description:
                text = description.read()
            self._binding.check_db(db.q3sim_ImportDescription(text, b":memory:"), "cannot import " + self.path)
        else:
            mode = OPEN_READ_ONLY if read_only else OPEN_CREATE if create else OPEN_EXISTING
            self._binding.check_db(db.q3sim_OpenProject(self.path.encode(), mode), "cannot open " + self.path)
        self._transactions = []
        Project._open = self

    # ---- the project ---------------------------------------------------------------------------

    def close(self):
        if Project._open is self:
            self._binding.db.q3sim_CloseProject()
            Project._open = None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False

    @property
    def current_transaction(self):
        return self._transactions[-1] if self._transactions else NO_TRANSACTION

    @contextlib.contextmanager
    def transaction(self):
        """A transaction (inside the current one): committed when the block ends, aborted when it raises."""
        opened = ctypes.c_uint16()
        if not self._binding.lib.grx_transaction_begin(self.current_transaction, ctypes.byref(opened)):
            self._binding.check()
        self._transactions.append(opened.value)
        try:
            yield opened.value
        except BaseException:
            self._transactions.pop()
            self._binding.lib.grx_transaction_abort(opened.value)
            raise
        self._transactions.pop()
        if not self._binding.lib.grx_transaction_commit(opened.value):
            self._binding.check()

    def id_of(self, obj, what="object"):
        """The id of an object given as id or as object path."""
        if isinstance(obj, bool):
            raise TypeError("%s: an object id or path is needed, not a bool" % what)
        if isinstance(obj, int):
            return obj
        if not isinstance(obj, str):
            raise TypeError("%s: an object id or path is needed, not %s" % (what, type(obj).__name__))
        found = ctypes.c_uint64()
        self._binding.check_db(self._binding.db.q3sim_ResolvePath(encode(obj, what), ctypes.byref(found)),
                               "%s: no object %s" % (what, obj))
        return found.value

    def path_of(self, object_id):
        """The object path of an id."""
        path = ctypes.c_char_p()
        self._binding.check_db(self._binding.db.q3sim_PathOf(object_id, ctypes.byref(path)),
                               "no object %d" % object_id)
        return decode(path.value)

    def controllers(self):
        """The object paths of the project's controllers."""
        capacity = 64
        while True:
            ids = (ctypes.c_uint64 * capacity)()
            count = ctypes.c_size_t()
            self._binding.check_db(self._binding.db.q3sim_Controllers(ids, capacity, ctypes.byref(count)),
                                   "cannot list the controllers")
            if count.value <= capacity:
                return [self.path_of(ids[i]) for i in range(count.value)]
            capacity = count.value

    def check(self, controller):
        """The whole-controller check of grx (names, connections, unused globals, stamps, data version):
        its findings. It runs the grx program beside the library (or GRX_PROGRAM) on the project file,
        so it sees what is committed."""
        if self.path.endswith(".json"):
            raise Error("the check reads a project file; %s lives in memory" % self.path)
        if self._transactions:
            raise Error("the check reads the project file: commit or abort the open transaction first")
        program = self._binding.grx_program()
        done = subprocess.run([program, "--json", "--project", self.path, "check", controller],
                              capture_output=True, text=True, encoding="utf-8", check=False)
        if done.returncode not in (0, 1):
            raise Error("grx check %s: %s" % (controller, (done.stderr or done.stdout).strip()))
        report = json.loads(done.stdout)
        return [Finding(f["kind"], f["path"], f["message"], f.get("details", {})) for f in report["findings"]]

    def description(self):
        """The project as its JSON description."""
        text = ctypes.c_char_p()
        self._binding.check_db(self._binding.db.q3sim_ExportDescription(ctypes.byref(text)),
                               "cannot describe the project")
        return text.value.decode("utf-8")


def _python_name(name):
    """A parameter's name as a Python keyword argument ("from" becomes "from_")."""
    return name + "_" if keyword.iskeyword(name) else name


def _make_method(python_name, c_name, export, policy, result_kind, params, summary):
    forms = [(_python_name(name), FORMS[form]) for name, form in params]
    inputs = [(name, form) for name, form in forms if form.takes_input]
    input_names = [name for name, _ in inputs]
    outputs = [name for name, form in forms if form.result is not None]
    answer_type = collections.namedtuple(python_name + "_answer", ["result"] + outputs) if outputs else None

    def method(self, *args, **kwargs):
        if len(args) > len(inputs):
            raise TypeError("%s takes %d arguments, %d given" % (python_name, len(inputs), len(args)))
        values = dict(zip(input_names, args))
        for key, value in kwargs.items():
            if key not in input_names:
                raise TypeError("%s has no parameter %s" % (python_name, key))
            if key in values:
                raise TypeError("%s: %s given twice" % (python_name, key))
            values[key] = value
        call = _Call(self, python_name)
        function = getattr(self._binding.lib, c_name)
        c_args, states = [], []
        for name, form in forms:
            value = None
            if form.takes_input:
                value = values.get(name, form.default)
                if value is REQUIRED:
                    raise TypeError("%s: %s is needed" % (python_name, name))
            call.name = "%s %s" % (python_name, name)
            more, state = form.prepare(call, value)
            c_args.extend(more)
            states.append((name, form, state))
        answer_cell = None
        if result_kind == "text":
            answer_cell = ctypes.c_void_p()
            c_args.append(ctypes.byref(answer_cell))
        result = function(*c_args)
        call.name = python_name
        error = self._binding.last_error()
        out = {name: form.result(call, state) for name, form, state in states if form.result is not None}
        if error:
            raise Error(error)
        if answer_cell is not None:
            result = self._binding.take_text(answer_cell.value)
        result = RESULTS[result_kind](result)
        return answer_type(result, **out) if answer_type else result

    method.__name__ = python_name
    method.__qualname__ = "Project." + python_name
    signature = ", ".join(name if form.default is REQUIRED else name + "=..." for name, form in inputs)
    method.__doc__ = "%s(%s)\n\n%s\n\nThe export %s through %s%s." % (
        python_name, signature, summary, export, c_name, "; failures raise grx.Error" if policy == "Raises" else "")
    return method


for _row in EXPORTS:
    setattr(Project, _row[0], _make_method(*_row))
