# The Windows program under Wine: one CTest test per scenario of quillstep-driver.exe, all in one
# Wine prefix that a setup test creates and a cleanup test removes. Needs a cross-built tree
# (scripts/build-windows.sh) named by QUILLSTEP_WINDOWS_BUILD_DIR.
set(QUILLSTEP_WINE_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/run_wine_test.sh)
set(QUILLSTEP_WINE_ENVIRONMENT
    QUILLSTEP_WINE_STATE=${CMAKE_BINARY_DIR}/wine-session
    QUILLSTEP_SCREENSHOT_DIR=${CMAKE_BINARY_DIR}/wine-screenshots)

set(QUILLSTEP_WINE_SCENARIOS
    first-display intro-closed parameter-steps store-buttons focus-restored full-wheel-39 statistics-8
    combination-file-8 abbreviated-10 abbreviated-11 abbreviated-14 viewer escape-stops-search file-replacement
    captions-fit dpi-change smaller-systems-12 smaller-systems-escape version-resource check-system-12
    set-values held-steps about
    search-progress smaller-systems-save-as past-draws wheel-my-numbers)

add_test(NAME wine_setup COMMAND bash ${QUILLSTEP_WINE_SCRIPT} ${QUILLSTEP_WINDOWS_BUILD_DIR} setup)
add_test(NAME wine_cleanup COMMAND bash ${QUILLSTEP_WINE_SCRIPT} ${QUILLSTEP_WINDOWS_BUILD_DIR} cleanup)
set_tests_properties(wine_setup PROPERTIES FIXTURES_SETUP wine_session TIMEOUT 300)
set_tests_properties(wine_cleanup PROPERTIES FIXTURES_CLEANUP wine_session TIMEOUT 60)
set_tests_properties(wine_setup wine_cleanup PROPERTIES
    ENVIRONMENT "${QUILLSTEP_WINE_ENVIRONMENT}" RESOURCE_LOCK wine_display LABELS wine)

foreach(scenario IN LISTS QUILLSTEP_WINE_SCENARIOS)
  add_test(NAME wine_${scenario}
           COMMAND bash ${QUILLSTEP_WINE_SCRIPT} ${QUILLSTEP_WINDOWS_BUILD_DIR} ${scenario})
  set_tests_properties(wine_${scenario} PROPERTIES
      FIXTURES_REQUIRED wine_session RESOURCE_LOCK wine_display TIMEOUT 300 LABELS wine
      ENVIRONMENT "${QUILLSTEP_WINE_ENVIRONMENT}")
endforeach()

# The captions at 150% and 200% display scaling (the prefix's DPI set for the scenario alone).
foreach(dpi 144 192)
  add_test(NAME wine_captions-fit-${dpi}dpi
           COMMAND bash ${QUILLSTEP_WINE_SCRIPT} ${QUILLSTEP_WINDOWS_BUILD_DIR} captions-fit)
  set_tests_properties(wine_captions-fit-${dpi}dpi PROPERTIES
      FIXTURES_REQUIRED wine_session RESOURCE_LOCK wine_display TIMEOUT 300 LABELS wine
      ENVIRONMENT "${QUILLSTEP_WINE_ENVIRONMENT};QUILLSTEP_WINE_DPI=${dpi}")
endforeach()

# The command line for Windows: every contract script of tests/cli runs against quillstep-cli.exe
# under Wine (tests/wine/run_cli_contract.sh), with the lines expected on Linux.
file(GLOB QUILLSTEP_WINE_CLI_CONTRACTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/../cli/*contract.sh)
foreach(script ${QUILLSTEP_WINE_CLI_CONTRACTS})
  get_filename_component(name ${script} NAME_WE)
  add_test(NAME wine_${name}
           COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run_cli_contract.sh ${QUILLSTEP_WINDOWS_BUILD_DIR} ${script})
  set_tests_properties(wine_${name} PROPERTIES
      FIXTURES_REQUIRED wine_session TIMEOUT 600 LABELS wine ENVIRONMENT "${QUILLSTEP_WINE_ENVIRONMENT}")
endforeach()

# The release package (scripts/package.sh): unpacked, both executables run under Wine from it.
set(QUILLSTEP_PACKAGE_ZIP ${CMAKE_SOURCE_DIR}/dist/quillstep-${PROJECT_VERSION}-windows-x64.zip)
add_test(NAME wine_release-package
         COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run_package_test.sh ${QUILLSTEP_WINDOWS_BUILD_DIR}
                 ${QUILLSTEP_PACKAGE_ZIP} ${PROJECT_VERSION})
set_tests_properties(wine_release-package PROPERTIES
    FIXTURES_REQUIRED wine_session RESOURCE_LOCK wine_display TIMEOUT 600 LABELS wine
    ENVIRONMENT "${QUILLSTEP_WINE_ENVIRONMENT}")
