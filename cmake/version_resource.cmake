# kydoru_version_resource(TARGET DESCRIPTION): gives TARGET (a DLL or program) a
# VERSIONINFO resource made from the project's version and the product facts below;
# DESCRIPTION becomes its FileDescription. Every shipped binary calls it once.

# The copyright line of LICENSE is the one place that names the year and the company.
file(STRINGS ${CMAKE_SOURCE_DIR}/LICENSE KYDORU_COPYRIGHT REGEX "^Copyright \\(c\\) [0-9]+ " LIMIT_COUNT 1)
string(REGEX REPLACE "^Copyright \\(c\\) [0-9]+ " "" KYDORU_COMPANY "${KYDORU_COPYRIGHT}")
set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/LICENSE)
if(NOT KYDORU_COMPANY)
  message(FATAL_ERROR "LICENSE has no line \"Copyright (c) YEAR COMPANY\"")
endif()
set(KYDORU_PRODUCT kydoru)
set(KYDORU_VERSIONINFO_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/versioninfo.rc.in)

function(kydoru_version_resource target description)
  set(KY_TARGET ${target})
  set(KY_DESCRIPTION "${description}")
  set(KY_VERSION_COMMAS "${kydoru_VERSION_MAJOR},${kydoru_VERSION_MINOR},${kydoru_VERSION_PATCH},0")
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(KY_FILE_TYPE VFT_APP)
  else()
    set(KY_FILE_TYPE VFT_DLL)
  endif()
  file(READ ${KYDORU_VERSIONINFO_TEMPLATE} template)
  string(CONFIGURE "${template}" content @ONLY)
  # The original file name is known only when the build system is generated.
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.version.rc)
  file(GENERATE OUTPUT ${rc} CONTENT "${content}")
  set_source_files_properties(${rc} PROPERTIES GENERATED TRUE)
  set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KYDORU_VERSIONINFO_TEMPLATE})
  target_sources(${target} PRIVATE ${rc})
endfunction()
