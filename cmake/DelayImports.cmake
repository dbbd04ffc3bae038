# Delay-loaded system libraries. Windows loads a program's ordinary imports
# before any of its code runs, searching the program's own folder first for
# every library that is not one of the system's known DLLs; a setup started
# from a download folder would then run whatever lies beside it under such a
# name. The libraries named here are linked through delay-import libraries
# instead: each loads at its first call, after WinMain has limited the search
# to the system folder (core/SystemLibraries.h).
#
# cv_delay_import(NAME DLL) makes the library target cvdelay_NAME from the
# toolchain's import library libNAME.a, for the DLL named DLL.
find_program(CV_DLLTOOL NAMES x86_64-w64-mingw32-dlltool REQUIRED)
find_program(CV_NM NAMES x86_64-w64-mingw32-nm REQUIRED)

function(cv_delay_import name dll)
  find_library(import_lib_${name} NAMES lib${name}.a REQUIRED)
  set(dir ${CMAKE_BINARY_DIR}/delay)
  file(MAKE_DIRECTORY ${dir})
  execute_process(COMMAND ${CV_NM} -g ${import_lib_${name}} OUTPUT_VARIABLE symbols
                  COMMAND_ERROR_IS_FATAL ANY)
  string(REGEX MATCHALL " I __imp_[A-Za-z0-9_@]+" imports "${symbols}")
  set(def "LIBRARY ${dll}\nEXPORTS\n")
  foreach(i ${imports})
    string(REPLACE " I __imp_" "" function "${i}")
    string(APPEND def "${function}\n")
  endforeach()
  file(WRITE ${dir}/${name}.def "${def}")
  execute_process(COMMAND ${CV_DLLTOOL} --input-def ${dir}/${name}.def --dllname ${dll}
                          --output-delaylib ${dir}/lib${name}_delay.a
                  COMMAND_ERROR_IS_FATAL ANY)
  add_library(cvdelay_${name} STATIC IMPORTED GLOBAL)
  set_target_properties(cvdelay_${name} PROPERTIES IMPORTED_LOCATION ${dir}/lib${name}_delay.a)
endfunction()

foreach(entry cabinet:Cabinet.dll comctl32:COMCTL32.dll version:VERSION.dll wininet:WININET.dll
              winmm:WINMM.dll gdiplus:gdiplus.dll)
  string(REPLACE ":" ";" parts ${entry})
  cv_delay_import(${parts})
endforeach()
