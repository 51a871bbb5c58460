# Linux desktop integration: the icon as hicolor PNGs, made from the .ico.
add_executable(export_icons export_icons.cpp)
target_link_libraries(export_icons PRIVATE Qt6::Gui wertomat_warnings)
set(HICOLOR_FOLDER ${CMAKE_CURRENT_BINARY_DIR}/hicolor)
add_custom_command(
    OUTPUT ${HICOLOR_FOLDER}/256x256/apps/wertomat.png
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            $<TARGET_FILE:export_icons> ${CMAKE_CURRENT_SOURCE_DIR}/wertomat.ico ${HICOLOR_FOLDER}
    DEPENDS export_icons wertomat.ico
    COMMENT "Exporting the icon for the desktop")
add_custom_target(wertomat_hicolor_icons ALL DEPENDS ${HICOLOR_FOLDER}/256x256/apps/wertomat.png)

include(GNUInstallDirs)
install(DIRECTORY ${HICOLOR_FOLDER}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES wertomat.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# Files that name the version take it from project(), configured into the build.
set(VERSIONED ${CMAKE_CURRENT_BINARY_DIR}/versioned)
foreach(source wertomat.metainfo.xml man/wertomat.1 man/wertomat-table.1 changelog)
    configure_file(${source}.in ${VERSIONED}/${source} @ONLY)
endforeach()
install(FILES ${VERSIONED}/wertomat.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages (German) and the Debian documentation files, compressed as
# Debian wants them: gzip -9 without name and time stamp.
set(PACKAGE_DOCS ${CMAKE_CURRENT_BINARY_DIR}/docs)
set(COMPRESSED)
foreach(source man/wertomat.1 man/wertomat-table.1 changelog)
    get_filename_component(name ${source} NAME)
    set(output ${PACKAGE_DOCS}/${name}.gz)
    add_custom_command(
        OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PACKAGE_DOCS}
        COMMAND gzip -9nc ${VERSIONED}/${source} > ${output}
        DEPENDS ${VERSIONED}/${source}
        COMMENT "Compressing ${name}")
    list(APPEND COMPRESSED ${output})
endforeach()
add_custom_target(wertomat_package_docs ALL DEPENDS ${COMPRESSED})
install(FILES ${PACKAGE_DOCS}/wertomat.1.gz ${PACKAGE_DOCS}/wertomat-table.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES copyright ${PACKAGE_DOCS}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/wertomat)
