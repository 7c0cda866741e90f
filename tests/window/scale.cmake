# SPDX-License-Identifier: GPL-3.0-or-later
# The same drawing checks at every screen scale factor the game supports.
add_executable(scale_tests ${CMAKE_CURRENT_LIST_DIR}/ScaleTest.cpp)
target_link_libraries(scale_tests PRIVATE window_test_support)
foreach(factor 1 1.25 1.5 2)
  add_test(NAME scale_tests_${factor} COMMAND scale_tests)
  set_tests_properties(scale_tests_${factor} PROPERTIES
    ENVIRONMENT "${KORVANE_OFFSCREEN_ENV};QT_SCALE_FACTOR=${factor}")
endforeach()
