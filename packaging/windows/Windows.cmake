# Moonvale.exe: a windowed program (no console), with the game's icon and version information.
# scripts/package-windows.sh makes the icon from the generated one and puts the zip together.
set(MOONVALE_ICO "" CACHE FILEPATH "The game's icon as a Windows .ico")
set_target_properties(moonvale PROPERTIES OUTPUT_NAME Moonvale WIN32_EXECUTABLE TRUE)
configure_file(${CMAKE_CURRENT_LIST_DIR}/moonvale.rc.in ${CMAKE_BINARY_DIR}/moonvale.rc @ONLY)
enable_language(RC)
target_sources(moonvale PRIVATE ${CMAKE_BINARY_DIR}/moonvale.rc)
