# SPDX-License-Identifier: GPL-3.0-or-later
# Broken and unusual skins, fonts and settings files, met through the window.
add_executable(hardening_tests ${CMAKE_CURRENT_LIST_DIR}/BadFilesTest.cpp)
target_link_libraries(hardening_tests PRIVATE window_test_support PNG::PNG ZLIB::ZLIB)
gtest_discover_tests(hardening_tests DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "${KORVANE_OFFSCREEN_ENV}")
target_compile_definitions(hardening_tests PRIVATE
  KORVANE_PLATFORM_INPUTS="${CMAKE_SOURCE_DIR}/tests/platform/inputs")
