add_executable(window_tests
  ${CMAKE_CURRENT_LIST_DIR}/StartupTest.cpp)
target_link_libraries(window_tests PRIVATE window_test_support)
gtest_discover_tests(window_tests DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${KORVANE_OFFSCREEN_ENV}")
