# Read by cpack before it packs: a Debian package installs under /usr, and a build configured
# with another prefix would put the programs where the system's menus, manual and polkit do
# not look.
if(NOT CPACK_PACKAGING_INSTALL_PREFIX STREQUAL "/usr")
  message(FATAL_ERROR "This build installs under ${CPACK_PACKAGING_INSTALL_PREFIX}; a Debian package "
                      "must install under /usr. Build the package with: sh scripts/package.sh")
endif()
