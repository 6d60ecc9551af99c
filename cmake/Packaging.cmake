# Release archives made by cpack from the install rules, every component in one package:
#   Linux:   grx-VERSION-Linux.tar.gz and the Debian package grx_VERSION_ARCH.deb
#   Windows: grx-VERSION-win64.zip
set(CPACK_PACKAGE_NAME grx)
set(CPACK_PACKAGE_VENDOR "grx")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_CONTACT "grx maintainers <grx@localhost>")
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
if(WIN32)
  set(CPACK_SYSTEM_NAME win64)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_SYSTEM_NAME Linux)
  set(CPACK_GENERATOR TGZ DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
      "${PROJECT_DESCRIPTION}.\nThe helper library w5lhlpax with its headers, CMake package and pkg-config file, grx, and the stand-ins of the engineering system's libraries.")
  # The shared libraries the files link against, as dpkg-shlibdeps finds them; the private
  # module folder holds the package's own.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
endif()
include(CPack)
