# DLLs loaded at the first call of one of their functions rather than with the program: by
# then the entry point has made every load search the system folder only
# (platform/win32/dll_search_win.h), while what a program imports statically is loaded before
# its first line runs. tests/imports/check_imports.py holds the programs to that.
#
# vemo_delay_loaded(<name> <dll>...) makes the interface library <name>, which links each
# <dll> (a name like user32) so. MSVC's linker does it itself (/DELAYLOAD with delayimp); GNU
# ld cannot, so the import libraries' functions go into delay-import libraries made by
# dlltool, whose loading helper is MinGW's own (libmingwex).
function(vemo_delay_loaded name)
  add_library(${name} INTERFACE)
  if(MSVC)
    foreach(dll ${ARGN})
      target_link_libraries(${name} INTERFACE ${dll})
      target_link_options(${name} INTERFACE /DELAYLOAD:${dll}.dll)
    endforeach()
    target_link_libraries(${name} INTERFACE delayimp)
    return()
  endif()
  set(decorated OFF)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(decorated ON)
    # 32-bit GNU ld drops a delay-import thunk that no code names, and code declared
    # dllimport names only the thunk's pointer, which then points at nothing: a call through
    # it crashes (binutils bug 14339). Declared without dllimport, the calls name the thunks.
    target_compile_definitions(${name} INTERFACE DECLSPEC_IMPORT=)
  endif()
  set(libraries "")
  foreach(dll ${ARGN})
    find_library(vemo_import_library_${dll} NAMES ${dll} REQUIRED NO_CACHE)
    set(library ${CMAKE_BINARY_DIR}/delay-load/lib${dll}-delay.a)
    add_custom_command(OUTPUT ${library}
      COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${CMAKE_DLLTOOL}
              -DIMPORT_LIBRARY=${vemo_import_library_${dll}} -DDLL=${dll}.dll
              -DDECORATED=${decorated} -DOUTPUT=${library}
              -P ${CMAKE_SOURCE_DIR}/cmake/delay_import_library.cmake
      DEPENDS ${vemo_import_library_${dll}} ${CMAKE_SOURCE_DIR}/cmake/delay_import_library.cmake
      COMMENT "Delay-import library for ${dll}.dll"
      VERBATIM)
    list(APPEND libraries ${library})
  endforeach()
  add_custom_target(${name}_libraries DEPENDS ${libraries})
  add_dependencies(${name} ${name}_libraries)
  target_link_libraries(${name} INTERFACE ${libraries})
endfunction()
