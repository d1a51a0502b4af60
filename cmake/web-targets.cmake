# The browser edition's programs, from the same core:
# - granvel_web.js + granvel_web.wasm: the module the page's worker loads (embind, the in-memory file
#   system; a classic script defining createGranvel()); the page that works as one file opened from the
#   disk carries the same two inside it and hands the WebAssembly over as wasmBinary (web/tools/make-site.mjs);
# - granvel-cli.js + granvel-cli.wasm: the command line for Node, on the real file system, which runs the
#   end-to-end cases so that the browser's outputs are checked against the same expected bytes.
set(granvel_web_link_options
  -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=33554432 -sINCOMING_MODULE_JS_API=[locateFile,print,printErr,onAbort,wasmBinary])

# CLI11 reports usage errors by throwing; the core itself is built without exceptions.
target_compile_options(granvel-cli PRIVATE -fexceptions)
target_link_options(granvel-cli PRIVATE -fexceptions -sNODERAWFS=1 -sENVIRONMENT=node -sEXIT_RUNTIME=1
                    ${granvel_web_link_options})

file(GLOB GRANVEL_WEB_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/web/module/*.cpp)
# DYNAMIC_EXECUTION=0: embind builds its wrappers without eval or new Function, which the page's
# Content-Security-Policy forbids (a worker made from a Blob inherits the page's policy).
set(granvel_module_options
  -lembind -sDYNAMIC_EXECUTION=0 -sMODULARIZE=1 -sEXPORT_NAME=createGranvel -sENVIRONMENT=web,worker,node -sFORCE_FILESYSTEM=1
  -sEXPORTED_RUNTIME_METHODS=[FS] ${granvel_web_link_options})
add_executable(granvel_web ${GRANVEL_WEB_SOURCES})
target_link_libraries(granvel_web PRIVATE granvel_core)
target_link_options(granvel_web PRIVATE ${granvel_module_options})
