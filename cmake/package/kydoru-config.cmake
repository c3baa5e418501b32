# kydoru's CMake package. find_package(kydoru CONFIG), with kydoru_DIR naming this folder,
# gives the imported target kydoru::kydoru for the consumer's architecture (x86 or
# x86-64 Windows): the folder of the public header, the import library the consumer's
# linker reads, and kydoru.dll as its location (copy it beside your program:
# $<TARGET_FILE:kydoru::kydoru>).
#
# Layout, as in dist/ and in the release archives: cmake/ (this file), include/, and
# win32/ and/or win64/ with the binaries. kydoru-config-version.cmake has already turned
# the package down when the consumer's system or architecture has no binaries here.
get_filename_component(_kydoru_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
include("${CMAKE_CURRENT_LIST_DIR}/kydoru-platform.cmake")
if(_kydoru_refused)
  set(kydoru_FOUND FALSE)
  set(kydoru_NOT_FOUND_MESSAGE "kydoru ${kydoru_VERSION} is ${_kydoru_refused}")
  unset(_kydoru_refused)
  unset(_kydoru_root)
  return()
endif()
set(_kydoru_bin "${_kydoru_root}/${_kydoru_arch}")
unset(_kydoru_arch)

# Microsoft's linker (cl, clang-cl, clang for the MSVC target) reads kydoru.lib; the
# MinGW linker reads libkydoru.dll.a.
if(MSVC OR CMAKE_C_SIMULATE_ID STREQUAL "MSVC" OR CMAKE_CXX_SIMULATE_ID STREQUAL "MSVC")
  set(_kydoru_implib "${_kydoru_bin}/kydoru.lib")
else()
  set(_kydoru_implib "${_kydoru_bin}/libkydoru.dll.a")
endif()

foreach(_kydoru_file "${_kydoru_root}/include/kydoru.h" "${_kydoru_bin}/kydoru.dll" "${_kydoru_implib}")
  if(NOT EXISTS "${_kydoru_file}")
    set(kydoru_FOUND FALSE)
    set(kydoru_NOT_FOUND_MESSAGE "the package is incomplete: ${_kydoru_file} is missing")
    return()
  endif()
endforeach()

if(NOT TARGET kydoru::kydoru)
  add_library(kydoru::kydoru SHARED IMPORTED)
  set_target_properties(kydoru::kydoru PROPERTIES
    IMPORTED_LOCATION "${_kydoru_bin}/kydoru.dll"
    IMPORTED_IMPLIB "${_kydoru_implib}"
    INTERFACE_INCLUDE_DIRECTORIES "${_kydoru_root}/include")
endif()
unset(_kydoru_root)
unset(_kydoru_bin)
unset(_kydoru_implib)
unset(_kydoru_file)
