# Read by cpack for each generator. The Debian package takes the files of the build's install
# rules, which follow Debian's layout for games only in a build for the prefix /usr.
if(CPACK_GENERATOR STREQUAL "DEB" AND NOT CPACK_TWINRUN_DEBIAN_LAYOUT)
  message(FATAL_ERROR "The Debian package needs a build configured with "
                      "-DCMAKE_INSTALL_PREFIX=/usr, as scripts/package makes it")
endif()
