# Gives the browser edition's files names that carry their content's hash, so that browsers may
# keep them for a year and a new build is never mixed with an old one: spellcrypt.<hash>.js,
# .wasm and .data beside the page, spellcrypt.html, which names them (the page is always checked
# again). Run after the link: cmake -DLINK_DIR=<linker output> -DOUT_DIR=<served folder> -P <this>
foreach(var LINK_DIR OUT_DIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "hash_names.cmake needs -D${var}=...")
  endif()
endforeach()

file(MAKE_DIRECTORY "${OUT_DIR}")
file(GLOB old "${OUT_DIR}/spellcrypt.*")
if(old)
  file(REMOVE ${old})
endif()

set(map "")
foreach(ext wasm data js)
  set(from "${LINK_DIR}/spellcrypt.${ext}")
  if(NOT EXISTS "${from}")
    message(FATAL_ERROR "No ${from}")
  endif()
  file(SHA256 "${from}" hash)
  string(SUBSTRING "${hash}" 0 12 hash)
  set(name_${ext} "spellcrypt.${hash}.${ext}")
  file(COPY_FILE "${from}" "${OUT_DIR}/${name_${ext}}")
  string(APPEND map "\"spellcrypt.${ext}\": \"${name_${ext}}\", ")
endforeach()

file(READ "${LINK_DIR}/spellcrypt.html" page)
string(FIND "${page}" "src=\"spellcrypt.js\"" at)
string(FIND "${page}" "var spellcryptFiles = {};" mapAt)
if(at EQUAL -1 OR mapAt EQUAL -1)
  message(FATAL_ERROR "spellcrypt.html does not load spellcrypt.js or has no file map")
endif()
string(REPLACE "src=\"spellcrypt.js\"" "src=\"${name_js}\"" page "${page}")
string(REPLACE "var spellcryptFiles = {};" "var spellcryptFiles = {${map}};" page "${page}")
file(WRITE "${OUT_DIR}/spellcrypt.html" "${page}")
