# Fails the build when the committed picture manifest differs from the one the generator wrote.
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${GENERATED} ${COMMITTED} RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "tools/manifest/pictures.tsv does not match the generated pictures; "
                      "refresh it with: bash scripts/art_manifest.sh")
endif()
