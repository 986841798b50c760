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
    captions-fit smaller-systems-12 smaller-systems-escape check-system-12)

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
