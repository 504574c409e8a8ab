# Compiler and linker settings shared by every target of our own.
include(CheckCXXCompilerFlag)

# Our code is warning-clean; third-party code is compiled without these.
set(TALMIC_WARNINGS -Wall -Wextra -Werror)

# GCC spells trap-mode undefined-behaviour checks two ways depending on its
# version; take whichever this compiler understands.
set(TALMIC_SANITIZE "")
if(TALMIC_CHECKED)
  check_cxx_compiler_flag("-fsanitize=undefined -fsanitize-trap=all" TALMIC_HAS_SANITIZE_TRAP)
  if(TALMIC_HAS_SANITIZE_TRAP)
    set(TALMIC_SANITIZE -fsanitize=undefined -fsanitize-trap=all)
  else()
    set(TALMIC_SANITIZE -fsanitize=undefined -fsanitize-undefined-trap-on-error)
  endif()
endif()

# Unicode Win32 throughout, and nothing of windows.h that we do not use.
set(TALMIC_DEFINES UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601
    WINVER=0x0601)

function(talmic_target target)
  target_compile_options(${target} PRIVATE
      $<$<COMPILE_LANGUAGE:C,CXX>:${TALMIC_WARNINGS} ${TALMIC_SANITIZE}>)
  target_compile_definitions(${target} PRIVATE ${TALMIC_DEFINES})
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR})
endfunction()

# An executable that needs no mingw DLLs: C, C++ and thread runtimes are
# linked in statically.  GUI programs also get the Unicode entry point.
function(talmic_executable target)
  cmake_parse_arguments(ARG "GUI;CONSOLE" "" "" ${ARGN})
  talmic_target(${target})
  target_link_options(${target} PRIVATE -static ${TALMIC_SANITIZE})
  if(ARG_GUI)
    target_link_options(${target} PRIVATE -mwindows -municode)
  endif()
endfunction()
