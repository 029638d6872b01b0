# The game for a browser: moonvale.js, moonvale.wasm and moonvale.data (the assets, packed), for the
# page beside this file. scripts/package-web.sh builds it inside the Emscripten root and makes the site.
set(MOONVALE_WEB_ASSETS "" CACHE PATH "The generated assets to pack, from a native build")
if(NOT IS_DIRECTORY "${MOONVALE_WEB_ASSETS}")
    message(FATAL_ERROR "MOONVALE_WEB_ASSETS must name the generated assets folder")
endif()
set_target_properties(moonvale PROPERTIES SUFFIX .js)
target_link_options(moonvale PRIVATE
    -sENVIRONMENT=web
    -sALLOW_MEMORY_GROWTH=1
    -sSTACK_SIZE=1048576
    -lidbfs.js
    --pre-js=${CMAKE_CURRENT_LIST_DIR}/pre.js
    --preload-file=${MOONVALE_WEB_ASSETS}@/assets)
set_property(TARGET moonvale APPEND PROPERTY LINK_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/pre.js)

# The benchmark's browser column (scripts/bench.sh): the main scene timed in the page's frames.
add_executable(bench EXCLUDE_FROM_ALL tools/bench/Browser.cpp tools/bench/Scenario.cpp)
set_target_properties(bench PROPERTIES SUFFIX .js)
target_link_libraries(bench PRIVATE moonvale_core moonvale_warnings)
target_link_options(bench PRIVATE -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1 -sSTACK_SIZE=1048576
    --preload-file=${MOONVALE_WEB_ASSETS}@/assets)
