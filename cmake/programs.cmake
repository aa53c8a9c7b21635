# What both programs' targets share.

# The program lands at the top of the build folder, whatever the generator or configuration:
# the path the README, the tests, make install and make dist name.
function(vemo_program_at_build_top target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
  foreach(config Debug Release RelWithDebInfo MinSizeRel)
    string(TOUPPER ${config} CONFIG)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY_${CONFIG} ${CMAKE_BINARY_DIR})
  endforeach()
endfunction()

# The directory's warning flags are for the C++ compiler; windres takes none of them.
function(vemo_options_for_cxx_only target)
  get_target_property(options ${target} COMPILE_OPTIONS)
  if(options)
    set_target_properties(${target} PROPERTIES COMPILE_OPTIONS "$<$<COMPILE_LANGUAGE:CXX>:${options}>")
  endif()
endfunction()
