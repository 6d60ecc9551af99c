# A module of the engineering system is a shared library that is loaded by its file name at run
# time ("Q3JDBMOX.DLL" is looked for as Q3JDBMOX with the module suffix of the target), so it carries no "lib" prefix.
function(grx_add_module target file_name)
  add_library(${target} SHARED ${ARGN})
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${file_name} SUFFIX "${CMAKE_SHARED_MODULE_SUFFIX}"
                        CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
endfunction()
