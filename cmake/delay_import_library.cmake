# cmake -P: the delay-import library OUTPUT for DLL, with every function of the import library
# IMPORT_LIBRARY (data cannot be delay-loaded). NM and DLLTOOL are the toolchain's; DECORATED
# is true for 32-bit x86, whose symbols carry a leading underscore and stdcall's @N.
execute_process(COMMAND ${NM} ${IMPORT_LIBRARY} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
# A function has a thunk, "T name"; data has only its "I __imp_name".
string(REGEX MATCHALL " T [^\n]+" thunks "${symbols}")
set(definition "LIBRARY \"${DLL}\"\nEXPORTS\n")
foreach(thunk ${thunks})
  string(SUBSTRING "${thunk}" 3 -1 symbol)
  if(DECORATED)
    string(SUBSTRING "${symbol}" 1 -1 symbol)
  endif()
  string(APPEND definition "${symbol}\n")
endforeach()
get_filename_component(folder ${OUTPUT} DIRECTORY)
get_filename_component(library ${OUTPUT} NAME)
file(WRITE ${OUTPUT}.def "${definition}")
# --kill-at: the DLL exports the names without @N. dlltool names its symbols after the library
# as given, so it gets the name alone: the program's bytes must not depend on the build folder.
execute_process(COMMAND ${DLLTOOL} --input-def ${library}.def --dllname ${DLL} --kill-at
                        --deterministic-libraries --output-delaylib ${library}
                WORKING_DIRECTORY ${folder} COMMAND_ERROR_IS_FATAL ANY)
