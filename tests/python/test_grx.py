"""The package grx against the installed library and the chart-database stand-in."""

import json
import os
import sys

import pytest

import grx
from conftest import DEMO, grx_program

CONTROLLERS = ["D445_AXES", "CX32_LINE"]


def test_the_package_is_the_installed_wheel():
    assert os.path.realpath(grx.__file__).startswith(os.path.realpath(sys.prefix))


def test_every_export_of_the_table_is_a_method():
    listed = json.loads(grx_program("--json", "exports"))
    assert [row[2] for row in grx.EXPORTS] == [e["name"] for e in listed]
    for row, export in zip(grx.EXPORTS, listed):
        method = getattr(grx.Project, row[0])
        assert export["name"] in method.__doc__
        assert [p[0] for p in row[5]] == [p["name"] for p in export["parameters"]]
    names = [row[0] for row in grx.EXPORTS]
    assert len(set(names)) == len(names)
    assert "root_plans_from_cpu" in names and "do_cfc_msg_box_4" in names and "iec_type_from_es" in names


def test_navigation_types_and_paths():
    with grx.Project(DEMO) as project:
        assert project.controllers() == CONTROLLERS
        plans = project.root_plans_from_cpu("D445_AXES")
        assert plans.result is True and plans.names == ["Axis1", "Axis2", "Safety", "Monitor"]
        ids = project.root_plan_ids_from_cpu("D445_AXES").ids
        assert [project.path_of(i) for i in ids] == ["D445_AXES/" + n for n in plans.names]
        sub = project.get_sub_plans_by_plan_id("D445_AXES/Axis1")
        assert sub.result == 3 and project.path_of(sub.ids[0]) == "D445_AXES/Axis1/Homing"
        assert project.is_simple_type("INT") == (True, 7, 5)
        assert project.is_simple_type("NOSUCH").result is False
        found = project.root_plan_from_name("D445_AXES", "AXIS1")
        assert found.name == "Axis1" and found.chartId == project.id_of("D445_AXES/Axis1")
        chart = project.get_chart("Axis1\\Homing", "D445_AXES", 0)
        assert chart.result and project.path_of(chart.chartId) == "D445_AXES/Axis1/Homing"
        assert project.check_var_name("axis__1") == (2, 5)
        assert project.name_from_var_id("D445_AXES/Axis1/Ramp1.X").name == "Ramp1:X"


def test_lists_in_and_out():
    with grx.Project(DEMO) as project:
        blocks = project.search_move_blocks("D445_AXES/Axis1").blocks
        assert blocks and all(isinstance(b, grx.MoveBlock) for b in blocks)
        by_place = project.sort_block(list(reversed(blocks))).blocks
        assert [b.block_pos for b in by_place] == sorted(b.block_pos for b in blocks)
        interface = project.get_plan_interface("D445_AXES/Axis1/Homing").blocks
        assert interface[0] == grx.Block("HomeReq", project.id_of("D445_AXES/Axis1/Homing.HomeReq"))
        uses = project.find_global_var_2("D445_AXES", "Speed", 0).results
        ordered = project.sort(list(reversed(uses))).results
        assert [u.root_chart_name for u in ordered] == ["Axis1", "Axis2"]
        assert project.count_in_var_types([grx.VarType("A", 6), grx.VarType("B", 5)]) == 2
        assert project.count_in_var_types(None) == 0
        nested = [grx.TypeElement("a", 6, [grx.TypeElement("x", 5)])]
        assert project.compare_struct_type_list(nested, [grx.TypeElement("A", 6, [grx.TypeElement("X", 5)])])
        assert not project.compare_struct_type_list(nested, [grx.TypeElement("a", 6)])
        assert project.can_cast(6, 6) is True


def test_a_transaction_commits_on_success_and_rolls_back_on_an_exception(demo_db):
    with grx.Project(demo_db) as project:
        with project.transaction() as transaction:
            assert project.current_transaction == transaction
            assert project.replace_glob_var("D445_AXES", "gLineSpeed", "gBeltSpeed")
        assert project.current_transaction == grx.NO_TRANSACTION
        with pytest.raises(RuntimeError):
            with project.transaction():
                assert project.replace_glob_var("D445_AXES", "gBeltSpeed", "gConveyorSpeed")
                assert project.find_global_var_2("D445_AXES", "gConveyor", 0).results
                raise RuntimeError("the bench stops")
        assert project.find_global_var_2("D445_AXES", "gConveyor", 0).results == []
    with grx.Project(demo_db, read_only=True) as project:
        uses = project.find_global_var_2("D445_AXES", "Speed", 0).results
        assert {u.global_var_name for u in uses} == {"gBeltSpeed"}


def test_failures_are_errors_with_the_librarys_text():
    with grx.Project(DEMO) as project:
        with pytest.raises(grx.Error, match="^W5GRX_GetGroupPos: "):
            project.get_group_pos([], 0)
        with pytest.raises(grx.Error, match="no object D445_AXES/NoSuchChart"):
            project.get_sub_plans_by_plan_id("D445_AXES/NoSuchChart")
        with pytest.raises(grx.Error, match="code page"):
            project.check_var_name("\u4e2d")
        with pytest.raises(TypeError, match="name is needed"):
            project.is_simple_type()
        with pytest.raises(TypeError, match="no parameter"):
            project.is_simple_type(nme="INT")
        with pytest.raises(TypeError, match="not a bool"):
            project.is_root_plan(True)
        with pytest.raises(grx.Error, match="open already"):
            grx.Project(DEMO)
    with pytest.raises(grx.Error, match="cannot open"):
        grx.Project("/nonexistent/folder/plant.db")


def test_texts_go_in_the_code_page():
    with grx.Project(DEMO) as project:
        with pytest.raises(RuntimeError):
            with project.transaction():
                assert project.replace_glob_var("D445_AXES", "gLineSpeed", "gTempo\u00c4")
                (use, _) = project.find_global_var_2("D445_AXES", "gTempo", 0).results
                assert use.global_var_name == "gTempo\u00c4"
                # The chart database holds the one byte 0xC4, which its description shows as \u00c4.
                assert '"gTempo\u00c4"' in project.description()
                raise RuntimeError("undo")
        assert project.check_var_name("Ma\u00df").position == 2
