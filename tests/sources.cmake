# The test sources, by program, relative to tests/: the Linux build (tests/CMakeLists.txt) builds
# them all; the Windows build (tests/windows) the portable ones. "posix" lists hold the tests of
# the POSIX face of the platform and those that need POSIX tools (nm, script).
set(grx_platform_tests_portable platform/code_page_test.cpp platform/text_string_test.cpp
    platform/window_handles_test.cpp platform/settings_store_test.cpp platform/com_lite_test.cpp
    platform/string_resources_test.cpp platform/dialog_presenter_test.cpp platform/child_process_test.cpp)
set(grx_platform_tests_posix platform/dynamic_library_test.cpp)
set(grx_standin_tests standins/iteration_test.cpp standins/records_test.cpp standins/writes_test.cpp
    standins/description_test.cpp standins/description_fuzz_test.cpp standins/fault_injection_test.cpp
    standins/object_paths_test.cpp)
set(grx_helpfuncs_tests_portable helpfuncs/plan_navigation_test.cpp helpfuncs/name_check_test.cpp
    helpfuncs/charts_and_tasks_test.cpp helpfuncs/type_queries_test.cpp helpfuncs/variable_queries_test.cpp
    helpfuncs/block_placement_test.cpp helpfuncs/global_vars_test.cpp helpfuncs/version_checks_test.cpp
    helpfuncs/error_location_test.cpp helpfuncs/block_type_import_test.cpp helpfuncs/online_help_test.cpp
    helpfuncs/block_help_test.cpp)
set(grx_thread_tests helpfuncs/threads_test.cpp)
set(grx_foundation_tests foundation/exceptions_test.cpp foundation/trace_test.cpp
    foundation/cfc_message_box_test.cpp foundation/dlg_progress_test.cpp foundation/printf_fill_test.cpp)
set(grx_blob_tests blob/blob_bytes_test.cpp blob/blob_format_test.cpp blob/blob_records_test.cpp
    blob/blob_mutation_test.cpp)
set(grx_dbaccess_tests dbaccess/trace_format_test.cpp dbaccess/listing_test.cpp dbaccess/binding_test.cpp)
set(grx_app_tests app/library_frame_test.cpp)
set(grx_opendata_tests opendata/object_model_test.cpp)
set(grx_cli_tests_portable tools/grx_cli_test.cpp tools/grx_c_interface_test.cpp)
set(grx_cli_tests_posix tools/grx_cli_posix_test.cpp tools/grx_fault_sweep_test.cpp
    tools/grx_guarantees_test.cpp tools/grx_docs_test.cpp tools/grx_plcopen_test.cpp tools/grx_draw_test.cpp)
