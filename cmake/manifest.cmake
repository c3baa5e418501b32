# kydoru_manifest(TARGET [COMMON_CONTROLS]): embeds the application manifest made from
# app.manifest.in in the program TARGET, as resource 1 of type RT_MANIFEST, the one Windows
# reads at process start. COMMON_CONTROLS adds the dependency on the common controls 6,
# for a program that shows controls (themed, and with their current metrics).
set(KYDORU_MANIFEST_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/app.manifest.in)

function(kydoru_manifest target)
  cmake_parse_arguments(PARSE_ARGV 1 KY "COMMON_CONTROLS" "" "")
  set(KY_TARGET "$<TARGET_FILE_NAME:${target}>")
  set(KY_MANIFEST_DEPENDENCIES "")
  if(KY_COMMON_CONTROLS)
    string(CONCAT KY_MANIFEST_DEPENDENCIES
      "  <dependency>\n"
      "    <dependentAssembly>\n"
      "      <assemblyIdentity type=\"win32\" name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"\n"
      "                        processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>\n"
      "    </dependentAssembly>\n"
      "  </dependency>\n")
  endif()
  file(READ ${KYDORU_MANIFEST_TEMPLATE} template)
  string(CONFIGURE "${template}" content @ONLY)
  set(manifest ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest.rc)
  file(GENERATE OUTPUT ${manifest} CONTENT "${content}")
  # 1 and 24: CREATEPROCESS_MANIFEST_RESOURCE_ID and RT_MANIFEST.
  file(GENERATE OUTPUT ${rc} CONTENT "1 24 \"${manifest}\"\n")
  set_source_files_properties(${rc} PROPERTIES GENERATED TRUE OBJECT_DEPENDS ${manifest})
  set_property(DIRECTORY ${CMAKE_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KYDORU_MANIFEST_TEMPLATE})
  target_sources(${target} PRIVATE ${rc})
endfunction()
