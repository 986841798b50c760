# The Windows program quillstep.exe, the command line quillstep-cli.exe (whose target the main
# CMakeLists.txt makes) and the driver that tests the program under Wine (cross-built with
# MinGW-w64, see cmake/mingw-w64.cmake). Only the system libraries user32, gdi32, comctl32,
# comdlg32 (the file-open dialog) and kernel32 are linked; the command line needs kernel32 alone.
enable_language(RC)

set(QUILLSTEP_SYSTEM_LIBRARIES user32 gdi32 comctl32 comdlg32 kernel32)

file(GLOB QUILLSTEP_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/platform/win32/*.cpp)
# win32_main.cpp is the program's own; the *_win32.cpp system services belong to the core.
list(FILTER QUILLSTEP_WIN32_SOURCES EXCLUDE REGEX "(win32_main|_win32)\\.cpp$")
add_library(quillstep_win32 STATIC ${QUILLSTEP_WIN32_SOURCES})
target_link_libraries(quillstep_win32 PUBLIC quillstep_core ${QUILLSTEP_SYSTEM_LIBRARIES})
target_compile_definitions(quillstep_win32 PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE)

set(QUILLSTEP_RESOURCE_FILE ${CMAKE_CURRENT_SOURCE_DIR}/resources/quillstep.rc)
set(QUILLSTEP_CLI_RESOURCE_FILE ${CMAKE_CURRENT_SOURCE_DIR}/resources/quillstep-cli.rc)
set(QUILLSTEP_VERSION_RESOURCE_INPUTS
  ${CMAKE_CURRENT_SOURCE_DIR}/resources/version_info.rc ${CMAKE_BINARY_DIR}/generated/quillstep_version.h
  ${CMAKE_CURRENT_SOURCE_DIR}/resources/quillstep.ico)
set_source_files_properties(${QUILLSTEP_RESOURCE_FILE} PROPERTIES OBJECT_DEPENDS
  "${QUILLSTEP_VERSION_RESOURCE_INPUTS};${CMAKE_CURRENT_SOURCE_DIR}/resources/quillstep.manifest")
set_source_files_properties(${QUILLSTEP_CLI_RESOURCE_FILE} PROPERTIES OBJECT_DEPENDS "${QUILLSTEP_VERSION_RESOURCE_INPUTS}")

add_executable(quillstep WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/src/platform/win32/win32_main.cpp
                               ${QUILLSTEP_RESOURCE_FILE})
target_link_libraries(quillstep PRIVATE quillstep_win32)
target_include_directories(quillstep PRIVATE ${CMAKE_BINARY_DIR}/generated)

# The command line: one static console executable with its own version resource.
target_sources(quillstep-cli PRIVATE ${QUILLSTEP_CLI_RESOURCE_FILE})

# The test driver: a console program that starts quillstep.exe and works its windows.
file(GLOB QUILLSTEP_DRIVER_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/wine/driver/*.cpp)
if(QUILLSTEP_DRIVER_SOURCES)
  add_executable(quillstep-driver ${QUILLSTEP_DRIVER_SOURCES})
  # src/ for windows/control_ids.h: the main window's control ids, shared with the program.
  target_include_directories(quillstep-driver PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests/wine/driver
                             ${CMAKE_CURRENT_SOURCE_DIR}/src ${CMAKE_BINARY_DIR}/generated)
  target_compile_definitions(quillstep-driver PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _UNICODE)
  target_compile_features(quillstep-driver PRIVATE cxx_std_20)
  if(MINGW)
    target_link_options(quillstep-driver PRIVATE -municode)  # wmain: wide command-line arguments
  endif()
  target_link_libraries(quillstep-driver PRIVATE ${QUILLSTEP_SYSTEM_LIBRARIES} version)

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

# The release package: dist/quillstep-<version>-windows-x64.zip (scripts/package.sh) holds one
# folder of that name with the two executables, stripped, and README.txt for Windows users.
set(QUILLSTEP_DIST_DIR ${CMAKE_CURRENT_SOURCE_DIR}/dist CACHE PATH "Folder that receives the release package")
set(QUILLSTEP_PACKAGE_NAME quillstep-${PROJECT_VERSION}-windows-x64)
set(QUILLSTEP_PACKAGE_STAGE ${CMAKE_BINARY_DIR}/package)
set(QUILLSTEP_PACKAGE_FOLDER ${QUILLSTEP_PACKAGE_STAGE}/${QUILLSTEP_PACKAGE_NAME})
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/resources/README-windows.txt.in ${CMAKE_BINARY_DIR}/README-windows.txt
               @ONLY NEWLINE_STYLE CRLF)
if(NOT CMAKE_STRIP)
  find_program(CMAKE_STRIP NAMES x86_64-w64-mingw32-strip strip REQUIRED)
endif()
add_custom_target(release-zip
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${QUILLSTEP_PACKAGE_STAGE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLSTEP_PACKAGE_FOLDER} ${QUILLSTEP_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:quillstep> $<TARGET_FILE:quillstep-cli> ${QUILLSTEP_PACKAGE_FOLDER}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/README-windows.txt ${QUILLSTEP_PACKAGE_FOLDER}/README.txt
  COMMAND ${CMAKE_STRIP} ${QUILLSTEP_PACKAGE_FOLDER}/quillstep.exe ${QUILLSTEP_PACKAGE_FOLDER}/quillstep-cli.exe
  COMMAND ${CMAKE_COMMAND} -E chdir ${QUILLSTEP_PACKAGE_STAGE} ${CMAKE_COMMAND} -E tar cf ${QUILLSTEP_DIST_DIR}/${QUILLSTEP_PACKAGE_NAME}.zip --format=zip
          ${QUILLSTEP_PACKAGE_NAME}/quillstep.exe ${QUILLSTEP_PACKAGE_NAME}/quillstep-cli.exe
          ${QUILLSTEP_PACKAGE_NAME}/README.txt
  COMMAND ${CMAKE_COMMAND} -E echo "release package: ${QUILLSTEP_DIST_DIR}/${QUILLSTEP_PACKAGE_NAME}.zip"
  DEPENDS quillstep quillstep-cli
  VERBATIM)
