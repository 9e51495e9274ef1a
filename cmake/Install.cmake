# Install rules: the programs to bin, and on freedesktop systems what makes
# the editor a desktop application (menu entry, file type, icon, software
# centre metadata, man page). Relative destinations only, so that a package
# built by CPack and `cmake --install --prefix DIR` place the same tree.
include(GNUInstallDirs)

set(LUDRA_APP_ID org.ludra.LanguageEditor)
set(LUDRA_PACKAGING_DIR ${PROJECT_SOURCE_DIR}/packaging)
set(LUDRA_LANG_SUMMARY "read, sort, convert and save language files without the editor's window")

if(LUDRA_TOOLS)
    install(TARGETS ludra-lang RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(LUDRA_GUI)
    install(TARGETS ludra-language-editor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

if(UNIX AND NOT APPLE)
    if(LUDRA_GUI)
        install(FILES ${LUDRA_PACKAGING_DIR}/${LUDRA_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
        install(FILES ${LUDRA_PACKAGING_DIR}/${LUDRA_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
        install(FILES ${LUDRA_PACKAGING_DIR}/ludra-language-editor.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
        install(FILES ${LUDRA_PACKAGING_DIR}/${LUDRA_APP_ID}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
        install(FILES ${LUDRA_PACKAGING_DIR}/${LUDRA_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
    endif()

    # The man page is made from the program's own --help, so it cannot drift
    # from what the program says. Without help2man there is no man page.
    if(LUDRA_TOOLS)
        find_program(HELP2MAN help2man)
        if(HELP2MAN)
            set(manPage ${CMAKE_CURRENT_BINARY_DIR}/ludra-lang.1)
            set(manCommands ${CMAKE_CURRENT_BINARY_DIR}/ludra-lang-commands.h2m)
            add_custom_command(OUTPUT ${manPage}
                COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:ludra-lang> -DOUTPUT=${manCommands}
                        -P ${PROJECT_SOURCE_DIR}/cmake/ManPageCommands.cmake
                COMMAND ${HELP2MAN} --no-info --section=1
                        --name=${LUDRA_LANG_SUMMARY}
                        --version-string=${PROJECT_VERSION}
                        --include=${manCommands}
                        --output=${manPage} $<TARGET_FILE:ludra-lang>
                DEPENDS ludra-lang ${PROJECT_SOURCE_DIR}/cmake/ManPageCommands.cmake
                VERBATIM)
            add_custom_target(ludra-lang-man ALL DEPENDS ${manPage})
            install(FILES ${manPage} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
        else()
            message(STATUS "help2man not found: ludra-lang is installed without its man page")
        endif()
    endif()
endif()
