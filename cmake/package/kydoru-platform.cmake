# Which of the package's binaries suit the consuming project, read by both package files:
# sets _kydoru_arch to win32 or win64, or _kydoru_refused to the reason there are none.
# The binaries are Windows PE files for x86 and x86-64; a project for another system or
# processor (ARM64, for one) could neither link nor load them.
unset(_kydoru_arch)
unset(_kydoru_refused)
# The compiler's own name for its target where CMake has one: a Visual Studio build for
# Win32 on a 64-bit machine still gives AMD64 as the system processor, but MSVC says X86.
# Else the processor the toolchain names; a toolchain that names none is taken at its
# pointer size.
set(_kydoru_cpu "")
foreach(_kydoru_word IN ITEMS "${CMAKE_C_COMPILER_ARCHITECTURE_ID}" "${CMAKE_CXX_COMPILER_ARCHITECTURE_ID}"
                              "${CMAKE_SYSTEM_PROCESSOR}")
  if(_kydoru_word)
    string(TOLOWER "${_kydoru_word}" _kydoru_cpu)
    break()
  endif()
endforeach()
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(_kydoru_refused "for Windows, not ${CMAKE_SYSTEM_NAME}")
elseif(_kydoru_cpu AND NOT _kydoru_cpu MATCHES "^(x86|x64|i[3-6]86|amd64|x86_64|em64t)$")
  set(_kydoru_refused "for x86 and x86-64, not ${_kydoru_cpu}")
elseif(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(_kydoru_arch win64)
elseif(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(_kydoru_arch win32)
else()
  set(_kydoru_refused "the project's pointer size is unknown: enable C or CXX before find_package")
endif()
if(_kydoru_arch AND NOT EXISTS "${CMAKE_CURRENT_LIST_DIR}/../${_kydoru_arch}/kydoru.dll")
  set(_kydoru_refused "no ${_kydoru_arch} binaries")
  unset(_kydoru_arch)
endif()
unset(_kydoru_cpu)
unset(_kydoru_word)
