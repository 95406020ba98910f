# Read by cpack once for each generator: the installer's name tells it from the zip beside it.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "Morvane-${CPACK_PACKAGE_VERSION}-win64-setup")
endif()
