# The translations: po/<language>.po, checked and compiled by msgfmt into assets/locale/<language>.mo,
# which the game reads. Included where the assets are made, so that they are part of them.
find_program(MSGFMT msgfmt REQUIRED)
set(MOONVALE_PO_DIR ${PROJECT_SOURCE_DIR}/po)
file(GLOB MOONVALE_PO_FILES CONFIGURE_DEPENDS ${MOONVALE_PO_DIR}/*.po)
set(MOONVALE_CATALOGUES "")
foreach(po ${MOONVALE_PO_FILES})
    get_filename_component(language ${po} NAME_WE)
    set(mo ${CMAKE_BINARY_DIR}/assets/locale/${language}.mo)
    add_custom_command(OUTPUT ${mo}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/assets/locale
        COMMAND ${MSGFMT} --check --output-file=${mo} ${po}
        DEPENDS ${po}
        COMMENT "Checking and compiling the ${language} translation")
    list(APPEND MOONVALE_CATALOGUES ${mo})
endforeach()
