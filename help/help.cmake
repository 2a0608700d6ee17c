# The help file quellon.chm, compiled from the pages in help/ by chmcmd
# (Debian's fp-utils), beside brantle.exe: the first place the program looks
# for it. The program's target depends on it, so whatever builds brantle.exe
# builds its help too.
find_program(BRANTLE_CHMCMD chmcmd)
if(NOT BRANTLE_CHMCMD)
    message(FATAL_ERROR "chmcmd (Debian's fp-utils) compiles the help file; scripts/setup.sh installs it")
endif()
file(GLOB brantle_help_pages CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/help/*.html
     ${CMAKE_SOURCE_DIR}/help/pictures/*.png)
set(BRANTLE_HELP_FILE ${CMAKE_BINARY_DIR}/quellon.chm)
add_custom_command(
    OUTPUT ${BRANTLE_HELP_FILE}
    COMMAND bash ${CMAKE_SOURCE_DIR}/help/build_chm.sh ${CMAKE_SOURCE_DIR}/help ${BRANTLE_HELP_FILE}
    DEPENDS ${brantle_help_pages}
            ${CMAKE_SOURCE_DIR}/help/style.css
            ${CMAKE_SOURCE_DIR}/help/quellon.hhp
            ${CMAKE_SOURCE_DIR}/help/contents.hhc
            ${CMAKE_SOURCE_DIR}/help/make_index.py
            ${CMAKE_SOURCE_DIR}/help/build_chm.sh
    COMMENT "Compiling the help file quellon.chm"
    VERBATIM)
add_custom_target(help_file DEPENDS ${BRANTLE_HELP_FILE})
