# A module of the engineering system is a shared library that is loaded by its file name at run
# time ("Q3JDBMOX.DLL" is looked for as Q3JDBMOX with the module suffix of the target), so it carries no "lib" prefix.
#
#   grx_add_module(target file_name [DESCRIPTION text] sources...)
#
# The description goes into the module's version resource on Windows.
function(grx_add_module target file_name)
  cmake_parse_arguments(PARSE_ARGV 2 arg "" "DESCRIPTION" "")
  add_library(${target} SHARED ${arg_UNPARSED_ARGUMENTS})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${file_name} SUFFIX "${CMAKE_SHARED_MODULE_SUFFIX}"
                        CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  if(NOT arg_DESCRIPTION)
    set(arg_DESCRIPTION "${file_name}, a module of grx")
  endif()
  grx_version_resource(${target} "${arg_DESCRIPTION}")
endfunction()

# A VERSIONINFO resource for a Windows module or program: the project's version as file and
# product version, the description and the original file name. Nothing on other platforms.
function(grx_version_resource target description)
  if(NOT WIN32)
    return()
  endif()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(GRX_FILE_TYPE VFT_APP)
  else()
    set(GRX_FILE_TYPE VFT_DLL)
  endif()
  set(GRX_DESCRIPTION "${description}")
  set(GRX_INTERNAL_NAME "${target}")
  file(READ ${PROJECT_SOURCE_DIR}/cmake/version_info.rc.in template)
  string(CONFIGURE "${template}" resource @ONLY)
  set(file ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  file(GENERATE OUTPUT ${file} CONTENT "${resource}")
  target_sources(${target} PRIVATE ${file})
endfunction()

# The registrations an installation makes (what the system's registry holds on Windows): the
# build writes them to bin/registry.ini for the build tree and to registry-install.ini, which
# the stand-ins' component installs. The in-process components name their module only, so the
# same entry serves both; entries with paths of the build tree stay in the build's file.
function(grx_begin_registrations)
  set(header "; In-process components registered by the build.\n")
  file(WRITE ${CMAKE_BINARY_DIR}/bin/registry.ini "${header}")
  file(WRITE ${CMAKE_BINARY_DIR}/registry-install.ini "${header}")
endfunction()

# grx_register_in_process(module clsid...): the module serves the classes.
function(grx_register_in_process module)
  foreach(clsid ${ARGN})
    set(entry "[HKEY_CLASSES_ROOT\\CLSID\\{${clsid}}\\InprocServer32]\n@=${module}\n")
    file(APPEND ${CMAKE_BINARY_DIR}/bin/registry.ini "${entry}")
    file(APPEND ${CMAKE_BINARY_DIR}/registry-install.ini "${entry}")
  endforeach()
endfunction()

# grx_register_build_setting(text...): entries of the build tree only (they name paths of the tree).
function(grx_register_build_setting)
  string(JOIN "" text ${ARGV})
  file(APPEND ${CMAKE_BINARY_DIR}/bin/registry.ini "${text}")
endfunction()
