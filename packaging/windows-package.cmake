# cpack in build/windows: an NSIS installer, wertomat-<version>-win64.exe,
# which installs into Program Files with a Start-menu entry and an
# uninstaller, and the same files as a portable ZIP.
set(CPACK_GENERATOR "NSIS;ZIP")
# Our own installer script (German, one Start-menu folder, the running-program
# check), found by cpack before its built-in one.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/nsis)
set(CPACK_PACKAGE_NAME wertomat)
set(CPACK_PACKAGE_VENDOR "Wertomat-Team")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Wertetabellen kubischer Polynome")
set(CPACK_PACKAGE_FILE_NAME wertomat-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Wertomat)
set(CPACK_STRIP_FILES ON)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME Wertomat)
set(CPACK_NSIS_DISPLAY_NAME Wertomat)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/wertomat.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/wertomat.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\wertomat.exe")
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
# The licence on the installer's licence page and, with a short German
# read-me, at the top of the ZIP.
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_BINARY_DIR}/LICENSE.txt COPYONLY)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_BINARY_DIR}/LICENSE.txt)
install(FILES ${PROJECT_BINARY_DIR}/LICENSE.txt ${CMAKE_CURRENT_LIST_DIR}/windows/LIESMICH.txt
    DESTINATION .)
# A 64-bit installer: the program is one, and a 64-bit Wine runs it.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
include(CPack)
