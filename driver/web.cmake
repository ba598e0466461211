# The WebAssembly programs (scripts/web builds them through emcmake):
#   node/vilora.js   main.cpp as on the desktop, run by node on the real file
#                    system: --capture, --bench, --data ... (no window, no video)
#   page/vilora.js   web_page.cpp for the browser page: createVilora() makes a
#                    fresh instance of the engine for every show
# Both leave out threads (no cross-origin isolation on a plain static host).

# CLI11 reports what it cannot parse by throwing; the rest of the engine
# throws nothing and stays without the cost of exception handling.
set_source_files_properties(command_line.cpp PROPERTIES COMPILE_OPTIONS -fexceptions)
set(VILORA_WEB_LINK_OPTIONS -fexceptions -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432)

add_executable(vilora_node main.cpp)
target_link_libraries(vilora_node PRIVATE vilora_driver vilora_platform_no_screen)
# Synchronous start-up: the glue then reads the .wasm file with node's fs
# rather than through fetch, which node 18 and later have but cannot use on
# a path. EXIT_RUNTIME hands main's status to the process.
target_link_options(vilora_node PRIVATE ${VILORA_WEB_LINK_OPTIONS} -sENVIRONMENT=node
    -sNODERAWFS=1 -sEXIT_RUNTIME=1 -sWASM_ASYNC_COMPILATION=0)
set_target_properties(vilora_node PROPERTIES OUTPUT_NAME vilora SUFFIX .js
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/node)
vilora_warnings(vilora_node)

add_executable(vilora_page web_page.cpp)
target_link_libraries(vilora_page PRIVATE vilora_driver vilora_platform_web)
target_link_options(vilora_page PRIVATE ${VILORA_WEB_LINK_OPTIONS} -sENVIRONMENT=web
    -sMODULARIZE=1 -sEXPORT_NAME=createVilora -sEXPORTED_RUNTIME_METHODS=FS)
set_target_properties(vilora_page PROPERTIES OUTPUT_NAME vilora SUFFIX .js
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/page)
vilora_warnings(vilora_page)
