# The browser edition: the core library with the web back end, linked into spellcrypt.html/.js/.wasm
# with the game's data preloaded from a desktop build (SPELLCRYPT_WEB_DATA, its bin folder: the
# data generators are native programs). Included by the top CMakeLists.txt under Emscripten.
set(SPELLCRYPT_WEB_DATA "${CMAKE_SOURCE_DIR}/build/default/bin" CACHE PATH
    "Folder holding the generated data, graphics and sound folders the web edition preloads")
foreach(folder data graphics sound)
  if(NOT EXISTS "${SPELLCRYPT_WEB_DATA}/${folder}")
    message(FATAL_ERROR "No ${SPELLCRYPT_WEB_DATA}/${folder}: build the default preset first (scripts/web.sh does)")
  endif()
endforeach()

list(REMOVE_ITEM SPELLCRYPT_LIB_SOURCES ${SPELLCRYPT_DESKTOP_SOURCES})
# The desktop's HTTP client runs each transfer on a thread; threads cannot be had in the page, so
# starting one fails, and the failure is caught (exceptions are on for that).
set(SPELLCRYPT_WEB_FLAGS -fexceptions)
add_library(spellcrypt_lib STATIC ${SPELLCRYPT_LIB_SOURCES} ${SPELLCRYPT_WEB_SOURCES})
target_include_directories(spellcrypt_lib PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_options(spellcrypt_lib PUBLIC ${SPELLCRYPT_WEB_FLAGS})
target_link_libraries(spellcrypt_lib PRIVATE spellcrypt_warnings)

add_executable(spellcrypt_web app/main_web.cpp)
set_target_properties(spellcrypt_web PROPERTIES OUTPUT_NAME spellcrypt SUFFIX ".html"
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/link)
target_link_libraries(spellcrypt_web PRIVATE spellcrypt_lib spellcrypt_warnings)
target_link_options(spellcrypt_web PRIVATE ${SPELLCRYPT_WEB_FLAGS}
  -sMINIFY_HTML=0 -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864 -sFORCE_FILESYSTEM=1 -sFETCH=1 -lidbfs.js
  "SHELL:--shell-file ${CMAKE_SOURCE_DIR}/tools/web/shell.html"
  "SHELL:--preload-file ${SPELLCRYPT_WEB_DATA}/data@/game/data"
  "SHELL:--preload-file ${SPELLCRYPT_WEB_DATA}/graphics@/game/graphics"
  "SHELL:--preload-file ${SPELLCRYPT_WEB_DATA}/sound@/game/sound")
set_property(TARGET spellcrypt_web APPEND PROPERTY LINK_DEPENDS ${CMAKE_SOURCE_DIR}/tools/web/shell.html)
# What is served: the page and its files under content-hashed names, in play/.
add_custom_command(TARGET spellcrypt_web POST_BUILD
  COMMAND ${CMAKE_COMMAND} -DLINK_DIR=${CMAKE_BINARY_DIR}/link -DOUT_DIR=${CMAKE_BINARY_DIR}/play
          -P ${CMAKE_SOURCE_DIR}/tools/web/hash_names.cmake
  COMMENT "Naming the browser edition's files by their content")
