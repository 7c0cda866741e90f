# SPDX-License-Identifier: GPL-3.0-or-later
# Inputs found by the fuzz targets in fuzz/ and by the bad-file tests of
# tests/window, kept as regression tests of the decoder.
add_executable(platform_hardening_tests PlatformTestMain.cpp PngChunkTest.cpp
  PngInterlaced16Test.cpp)
target_link_libraries(platform_hardening_tests PRIVATE korvane_platform test_pictures GTest::gtest
  PNG::PNG)
target_compile_definitions(platform_hardening_tests PRIVATE
  KORVANE_PLATFORM_INPUTS="${CMAKE_CURRENT_SOURCE_DIR}/inputs")
gtest_discover_tests(platform_hardening_tests DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "${KORVANE_OFFSCREEN_ENV}")
