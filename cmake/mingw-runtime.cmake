# MinGW's C++ runtime DLLs, which the program and Qt are linked against: the installer
# carries them, and the tests find them under Wine. Sets ZARYAJ_MINGW_RUNTIME.
set(ZARYAJ_MINGW_RUNTIME)
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
        message(FATAL_ERROR "MinGW's ${runtime} not found by ${CMAKE_CXX_COMPILER}")
    endif()
    list(APPEND ZARYAJ_MINGW_RUNTIME ${path})
endforeach()
