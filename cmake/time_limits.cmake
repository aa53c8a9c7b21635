# The time limits of scripts/time-limits.sh as CMake variables of the same names, in seconds.
# A line there that is not NAME=seconds stops the configuration: a limit silently dropped
# would leave a test without one.
set(vemo_time_limits ${CMAKE_CURRENT_LIST_DIR}/../scripts/time-limits.sh)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${vemo_time_limits})
file(STRINGS ${vemo_time_limits} vemo_lines REGEX "^[^#]")
foreach(line IN LISTS vemo_lines)
  if(NOT line MATCHES "^(VEMO_[A-Z0-9_]+)=([0-9]+)$")
    message(FATAL_ERROR "${vemo_time_limits}: not NAME=seconds: ${line}")
  endif()
  set(${CMAKE_MATCH_1} ${CMAKE_MATCH_2})
endforeach()
