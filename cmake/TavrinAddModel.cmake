# tavrin_add_model(<name> <model file>): generates the model's sources from its model file
# at build time and builds its simulator <name>_sim in TAVRIN_BIN_DIR, with the study
# description beside it as <name>_sim.study.json. Editing the model file, a file it
# includes (the generator lists them in a dependency file) or a new generator regenerates
# and rebuilds. The generator is TAVRIN_GEN_COMMAND, and the build
# waits for TAVRIN_GEN_DEPENDS (the in-tree target, or the installed program).
function(tavrin_add_model name file)
  get_filename_component(model_file "${file}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
  set(out "${CMAKE_CURRENT_BINARY_DIR}/${name}_generated")
  set(study "${TAVRIN_BIN_DIR}/${name}_sim.study.json")
  add_custom_command(
    OUTPUT "${out}/model_sources.cpp" "${study}"
    COMMAND ${TAVRIN_GEN_COMMAND} "${model_file}" -o "${out}" -s "${study}" -d "${out}/model_sources.d"
    DEPENDS "${model_file}" ${TAVRIN_GEN_DEPENDS}
    DEPFILE "${out}/model_sources.d"
    COMMENT "Generating the sources of model ${name} from ${file}"
    VERBATIM)
  tavrin_add_simulator(${name}_sim "${out}/model_sources.cpp")
  target_include_directories(${name}_sim_model BEFORE PUBLIC "${out}")
  # The study description is made by the same command; listing it keeps it up to date.
  set_source_files_properties("${study}" PROPERTIES HEADER_FILE_ONLY TRUE GENERATED TRUE)
  target_sources(${name}_sim PRIVATE "${study}")
endfunction()
