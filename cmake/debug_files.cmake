# Installed binaries ship without their symbols: every .dll and .exe installed into the
# prefix is stripped, its symbols go to .debug/NAME.debug, and a debug link in the binary
# names that file. gdb looks for a link's file beside the binary and in its .debug
# folder, so it finds them with no setting. The build tree keeps the full binaries the
# tests run.
#
# The rule is added after every folder's own install rules (deferred to the end of the
# top folder), so it applies to any binary any folder installs.
function(kydoru_debug_files_rule)
  if(NOT CMAKE_OBJCOPY OR NOT CMAKE_OBJDUMP OR NOT CMAKE_STRIP)
    message(FATAL_ERROR "objcopy, objdump and strip of the target's binutils are needed to split debug files")
  endif()
  install(CODE "
    set(KY_OBJCOPY \"${CMAKE_OBJCOPY}\")
    set(KY_OBJDUMP \"${CMAKE_OBJDUMP}\")
    set(KY_STRIP \"${CMAKE_STRIP}\")
    set(KY_DIR \"\${CMAKE_INSTALL_PREFIX}\")
    include(\"${CMAKE_SOURCE_DIR}/cmake/split_debug.cmake\")")
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL kydoru_debug_files_rule)
