# Install-time step (see debug_files.cmake): splits every .dll and .exe in KY_DIR into a
# stripped binary and .debug/NAME.debug, joined by a debug link. KY_OBJCOPY, KY_OBJDUMP and
# KY_STRIP are the target's binutils.
file(GLOB binaries LIST_DIRECTORIES false "${KY_DIR}/*.dll" "${KY_DIR}/*.exe")
file(MAKE_DIRECTORY "${KY_DIR}/.debug")
foreach(binary ${binaries})
  get_filename_component(name "${binary}" NAME)
  set(debug ".debug/${name}.debug")
  # A binary left in place by an earlier install is split already: splitting it again
  # would overwrite its debug file with an empty one.
  execute_process(COMMAND "${KY_OBJDUMP}" -h "${name}" WORKING_DIRECTORY "${KY_DIR}"
                  OUTPUT_VARIABLE sections COMMAND_ERROR_IS_FATAL ANY)
  if(sections MATCHES "\\.gnu_debuglink")
    continue()
  endif()
  message(STATUS "Splitting off: ${KY_DIR}/${debug}")
  # The link holds the debug file's name and checksum, so it goes in last.
  execute_process(COMMAND "${KY_OBJCOPY}" --only-keep-debug "${name}" "${debug}"
                  WORKING_DIRECTORY "${KY_DIR}" COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND "${KY_STRIP}" --strip-all "${name}"
                  WORKING_DIRECTORY "${KY_DIR}" COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND "${KY_OBJCOPY}" "--add-gnu-debuglink=${debug}" "${name}"
                  WORKING_DIRECTORY "${KY_DIR}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
