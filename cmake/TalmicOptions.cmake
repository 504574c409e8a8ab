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

# Links the target's imports of the named system DLLs as delay imports: each
# DLL is loaded on the first call into it instead of before the program's
# own code runs.  Under Wine, loading the common controls alone takes tens
# of milliseconds (it sets up the display), which the program would
# otherwise spend before it can begin anything.  The delay-import libraries
# are made from the toolchain's import libraries, under the same names, in
# a folder the target's link searches first.
function(talmic_delay_imports target)
  set(folder ${CMAKE_BINARY_DIR}/delay-imports)
  set(libraries "")
  foreach(dll IN LISTS ARGN)
    set(output ${folder}/lib${dll}.a)
    # Made once, by a target of its own, for every program that needs it.
    if(NOT TARGET talmic_delay_import_${dll})
      find_library(TALMIC_IMPORT_LIB_${dll} NAMES lib${dll}.a REQUIRED NO_CACHE)
      add_custom_command(
          OUTPUT ${output}
          COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
          COMMAND python3 ${CMAKE_SOURCE_DIR}/scripts/make_delay_import_lib.py
                  ${CMAKE_NM} ${CMAKE_AR} ${CMAKE_DLLTOOL} ${CMAKE_OBJCOPY}
                  ${TALMIC_IMPORT_LIB_${dll}} ${dll}.dll ${output}
          DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make_delay_import_lib.py ${TALMIC_IMPORT_LIB_${dll}}
          COMMENT "Making the delay-import library of ${dll}.dll")
      add_custom_target(talmic_delay_import_${dll} DEPENDS ${output})
    endif()
    add_dependencies(${target} talmic_delay_import_${dll})
    list(APPEND libraries ${output})
  endforeach()
  target_link_directories(${target} BEFORE PRIVATE ${folder})
  # The system libraries are named on the link line by their plain names
  # (-lcomctl32), so the link finds these first; it is redone when they
  # change.
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${libraries})
endfunction()
