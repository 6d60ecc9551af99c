# What `cmake --install` puts where, in components:
#
#   library      the helper library (Linux: lib/libw5lhlpax.so.VERSION with its SONAME link and
#                w5lhlpax.so, the name it is loaded by; Windows: bin/w5lhlpax.dll) and grx_os
#   development  the public headers (include/w5lhlpax), the CMake package w5lhlpax, w5lhlpax.pc,
#                the link libw5lhlpax.so or the import library and the module-definition file
#   grx          the command line with its man page and bash completion
#   docs         the documentation, the example projects and the example host
#   standins     the stand-ins of the engineering system's libraries and programs, and the
#                registrations of their components; a host with the real system leaves them out
include(CMakePackageConfigHelpers)

set(grx_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/w5lhlpax)
set(grx_standin_modules q3jdbmox es_log w5toolax w5wtrcax w5bx00ta w5kwcmpx w5rccmpx w5imcmpx w5lresax w5lresax_de)

# Where the installed files find each other: the library finds its private module folder, the
# modules find each other, grx finds both.
if(NOT WIN32)
  file(RELATIVE_PATH library_to_modules /prefix/${CMAKE_INSTALL_LIBDIR} /prefix/${GRX_INSTALL_MODULEDIR})
  file(RELATIVE_PATH program_to_library /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${CMAKE_INSTALL_LIBDIR})
  file(RELATIVE_PATH program_to_modules /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${GRX_INSTALL_MODULEDIR})
  set_target_properties(w5lhlpax PROPERTIES INSTALL_RPATH "$ORIGIN/${library_to_modules}")
  set_target_properties(grx PROPERTIES INSTALL_RPATH "$ORIGIN/${program_to_library};$ORIGIN/${program_to_modules}")
  foreach(target grx_os FXBViewer ${grx_standin_modules})
    set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
  endforeach()
endif()

# The library.
install(TARGETS w5lhlpax EXPORT w5lhlpaxTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT library
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT library NAMELINK_COMPONENT development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
install(TARGETS grx_os
  RUNTIME DESTINATION ${GRX_INSTALL_MODULEDIR} COMPONENT library
  LIBRARY DESTINATION ${GRX_INSTALL_MODULEDIR} COMPONENT library NAMELINK_SKIP)
if(WIN32)
  install(FILES ${CMAKE_BINARY_DIR}/src/w5lhlpax.def DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT development)
else()
  # The name hosts load the module by, beside the library.
  install(CODE "execute_process(COMMAND \${CMAKE_COMMAND} -E create_symlink libw5lhlpax.so.${PROJECT_VERSION_MAJOR}
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/w5lhlpax.so\")
                list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/w5lhlpax.so\")"
          COMPONENT library)
endif()

# The public headers, each usable alone.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/ DESTINATION ${GRX_INSTALL_INCLUDEDIR} COMPONENT development)

# The CMake package: find_package(w5lhlpax 1.0 CONFIG REQUIRED [COMPONENTS standins]).
install(EXPORT w5lhlpaxTargets NAMESPACE w5lhlpax:: DESTINATION ${grx_package_dir} COMPONENT development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/w5lhlpaxConfig.cmake.in
  ${CMAKE_BINARY_DIR}/package/w5lhlpaxConfig.cmake INSTALL_DESTINATION ${grx_package_dir}
  PATH_VARS GRX_INSTALL_MODULEDIR)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/package/w5lhlpaxConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/package/w5lhlpaxConfig.cmake ${CMAKE_BINARY_DIR}/package/w5lhlpaxConfigVersion.cmake
  DESTINATION ${grx_package_dir} COMPONENT development)

# pkg-config: w5lhlpax.pc, relocatable (its prefix is found from the file's own place).
file(RELATIVE_PATH pc_to_prefix /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
configure_file(${PROJECT_SOURCE_DIR}/cmake/w5lhlpax.pc.in ${CMAKE_BINARY_DIR}/package/w5lhlpax.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/package/w5lhlpax.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
  COMPONENT development)

# grx.
install(TARGETS grx RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT grx)
if(GRX_MAN_PAGE)
  install(FILES ${GRX_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT grx)
  install(FILES ${GRX_COMPLETION} DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions COMPONENT grx)
endif()

# The documentation, the example projects and the example host.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT docs)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT docs)
install(FILES ${PROJECT_SOURCE_DIR}/examples/demo.json ${PROJECT_SOURCE_DIR}/examples/block_catalogue.json
  DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples COMPONENT docs)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/host DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples COMPONENT docs)

# The stand-ins. The chart database's control interface is a target of the package, for hosts
# that open projects in the stand-in.
install(TARGETS q3jdbmox EXPORT w5lhlpaxStandinsTargets
  RUNTIME DESTINATION ${GRX_INSTALL_MODULEDIR} COMPONENT standins
  LIBRARY DESTINATION ${GRX_INSTALL_MODULEDIR} COMPONENT standins NAMELINK_SKIP
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT standins)
install(TARGETS es_log w5toolax w5wtrcax w5bx00ta w5kwcmpx w5rccmpx w5imcmpx w5lresax w5lresax_de FXBViewer
  RUNTIME DESTINATION ${GRX_INSTALL_MODULEDIR} COMPONENT standins
  LIBRARY DESTINATION ${GRX_INSTALL_MODULEDIR} COMPONENT standins NAMELINK_SKIP)
install(EXPORT w5lhlpaxStandinsTargets NAMESPACE w5lhlpax:: DESTINATION ${grx_package_dir} COMPONENT standins)
install(FILES ${CMAKE_BINARY_DIR}/registry-install.ini DESTINATION ${GRX_INSTALL_MODULEDIR} RENAME registry.ini
  COMPONENT standins)
