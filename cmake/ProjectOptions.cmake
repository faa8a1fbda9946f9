# Warnings and sanitizers shared by every target of the project.

function(dcs_apply_options target)
  if(MSVC)
    return()
  endif()
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion
                                           -Wno-sign-conversion -Wnon-virtual-dtor
                                           -Wno-missing-field-initializers)
  if(WIN32)
    # Wide-character Win32 API everywhere; no TCHAR.
    target_compile_definitions(${target} PUBLIC UNICODE _UNICODE NOMINMAX
                                                _WIN32_WINNT=0x0601)
  endif()
endfunction()

if(DCS_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(DCS_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "The fuzz targets need clang (libFuzzer)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
