# The packages, made by CPack from what `cmake --install` lays out: `cpack --config
# build/package/CPackConfig.cmake`, or `tools/dev.sh package`.
set(CPACK_PACKAGE_NAME morvane)
set(CPACK_PACKAGE_VENDOR "Morvane developers")
set(CPACK_PACKAGE_CONTACT "${MORVANE_MAINTAINER}")
# Debian shows the description as it is written: lines kept under 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Game servers plant their adverts in a few of the player's own files: the main"
  "menu, the loading screens, the scoreboard, the welcome page, and config files"
  "that make the player's game spam for them. Morvane finds those files in both"
  "edition folders of a Counter-Strike 1.6 installation, deletes them and puts"
  "clean replacement files in their place."
  ""
  "The package holds the windowed program (in Russian) and morvane-cli, the same"
  "cleaning from a terminal.")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CHECKSUM SHA256)

if(WIN32)
  # From one install tree, a zip (morvane.exe, morvane-cli.exe, files\ and the readme, in a folder
  # of the zip's name) and an installer into Program Files\Morvane; the installer's file name ends
  # in "-setup" (packaging/windows/GeneratorNames.cmake).
  set(CPACK_GENERATOR ZIP NSIS)
  set(CPACK_PACKAGE_FILE_NAME "Morvane-${PROJECT_VERSION}-win64")
  set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/packaging/windows/GeneratorNames.cmake)
  # The installer's script is our own, packaging/windows/NSIS.template.in, found by CPack on the
  # module path.
  list(PREPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging/windows)
  set(CPACK_PACKAGE_INSTALL_DIRECTORY Morvane)
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Morvane)
  set(CPACK_NSIS_PACKAGE_NAME Morvane)
  set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/icons/morvane-program.ico)
  set(CPACK_NSIS_MUI_UNIICON ${CPACK_NSIS_MUI_ICON})
  # Windows wants four numbers in a file's version.
  string(REGEX MATCH "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+" CPACK_NSIS_MORVANE_FILE_VERSION
         "${PROJECT_VERSION}.0.0.0")
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
  set(CPACK_DEBIAN_PACKAGE_SECTION games)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Qt's own strings (its file dialog's buttons) in Russian, as the windows are.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n")
endif()

include(CPack)
