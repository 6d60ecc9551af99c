"""What the Python package adds to a call: Project methods against the same C functions called
directly through ctypes (the baseline, measured in the same run), on the demo project.

    GRX_LIBRARY=build/bin/libw5lhlpax.so.1 PYTHONPATH=python python3 bench/python_calls.py
"""

import ctypes
import os
import sys
import timeit

import grx

DEMO = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples", "demo.json")


def best(statement, number):
    """Microseconds per call, the best of five runs."""
    return min(timeit.repeat(statement, number=number, repeat=5)) / number * 1e6


def main():
    with grx.Project(DEMO) as project:
        lib = project._binding.lib
        controller = project.id_of("D445_AXES")
        es, iec = ctypes.c_uint32(), ctypes.c_int32()
        names, count = ctypes.POINTER(ctypes.c_void_p)(), ctypes.c_size_t()

        def type_query_c():
            lib.grx_IsSimpleType(b"LREAL", ctypes.byref(es), ctypes.byref(iec))

        def root_charts_c():
            lib.grx_RootPlansFromCPU(controller, ctypes.byref(names), ctypes.byref(count), 0xFFFF)
            lib.grx_free_texts(names, count)

        rows = [("type query", type_query_c, lambda: project.is_simple_type("LREAL"), 20000),
                ("root charts", root_charts_c, lambda: project.root_plans_from_cpu(controller), 5000)]
        print("grx from Python on %s: microseconds per call, method / direct ctypes call" % sys.version.split()[0])
        for name, direct, method, number in rows:
            c, py = best(direct, number), best(method, number)
            print("  %-12s ctypes %7.2f  method %7.2f  ratio %.2f" % (name, c, py, py / c))


if __name__ == "__main__":
    main()
