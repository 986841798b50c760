# The Windows program quillstep.exe and the driver that tests it under Wine (cross-built with
# MinGW-w64, see cmake/mingw-w64.cmake). Only the system libraries user32, gdi32, comctl32,
# comdlg32 (the file-open dialog) and kernel32 are linked.
enable_language(RC)

set(QUILLSTEP_SYSTEM_LIBRARIES user32 gdi32 comctl32 comdlg32 kernel32)

file(GLOB QUILLSTEP_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/platform/win32/*.cpp)
list(FILTER QUILLSTEP_WIN32_SOURCES EXCLUDE REGEX "win32_main\\.cpp$")
add_library(quillstep_win32 STATIC ${QUILLSTEP_WIN32_SOURCES})
target_link_libraries(quillstep_win32 PUBLIC quillstep_core ${QUILLSTEP_SYSTEM_LIBRARIES})
target_compile_definitions(quillstep_win32 PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE)

set(QUILLSTEP_RESOURCE_FILE ${CMAKE_CURRENT_SOURCE_DIR}/resources/quillstep.rc)
set_source_files_properties(${QUILLSTEP_RESOURCE_FILE} PROPERTIES OBJECT_DEPENDS
  "${CMAKE_CURRENT_SOURCE_DIR}/resources/quillstep.ico;${CMAKE_CURRENT_SOURCE_DIR}/resources/quillstep.manifest")

add_executable(quillstep WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/src/platform/win32/win32_main.cpp
                               ${QUILLSTEP_RESOURCE_FILE})
target_link_libraries(quillstep PRIVATE quillstep_win32)

# The test driver: a console program that starts quillstep.exe and works its windows.
file(GLOB QUILLSTEP_DRIVER_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/wine/driver/*.cpp)
if(QUILLSTEP_DRIVER_SOURCES)
  add_executable(quillstep-driver ${QUILLSTEP_DRIVER_SOURCES})
  target_include_directories(quillstep-driver PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests/wine/driver)
  target_compile_definitions(quillstep-driver PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE)
  target_compile_features(quillstep-driver PRIVATE cxx_std_20)
  if(MINGW)
    target_link_options(quillstep-driver PRIVATE -municode)  # wmain: wide command-line arguments
  endif()
  target_link_libraries(quillstep-driver PRIVATE ${QUILLSTEP_SYSTEM_LIBRARIES})

  # The driver's probe: a library it hooks into the program to measure texts in their own fonts.
  add_library(quillstep-text-probe SHARED ${CMAKE_CURRENT_SOURCE_DIR}/tests/wine/text_probe/text_probe.cpp)
  set_target_properties(quillstep-text-probe PROPERTIES PREFIX "")
  target_compile_definitions(quillstep-text-probe PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE)
  if(MINGW)
    target_link_options(quillstep-text-probe PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
  target_link_libraries(quillstep-text-probe PRIVATE user32 gdi32)
  add_dependencies(quillstep-driver quillstep-text-probe)
endif()
