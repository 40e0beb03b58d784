# The C++ runtime stays a shared DLL so that exceptions cross our DLL boundaries;
# copy it beside the binaries so every program finds it.
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
                OUTPUT_VARIABLE _stdcxx OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${TAMVERO_GCC_RUNTIME}
                OUTPUT_VARIABLE _gccs OUTPUT_STRIP_TRAILING_WHITESPACE)
set(_winpthread /usr/${TAMVERO_TRIPLE}/lib/libwinpthread-1.dll)
foreach(dll ${_stdcxx} ${_gccs} ${_winpthread})
  if(NOT EXISTS ${dll})
    message(FATAL_ERROR "runtime DLL not found: ${dll}")
  endif()
  file(COPY ${dll} DESTINATION ${CMAKE_BINARY_DIR}/bin)
endforeach()
