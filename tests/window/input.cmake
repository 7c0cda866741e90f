# SPDX-License-Identifier: GPL-3.0-or-later
# Mouse and keyboard play: gestures through real Qt events, a long random
# session checked against the tile rules, and a real window under Xvfb.
add_executable(input_tests
  ${CMAKE_CURRENT_LIST_DIR}/InputTestSupport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InputTestSupport.h
  ${CMAKE_CURRENT_LIST_DIR}/InputTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GestureSessionTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GestureTest.cpp)
target_link_libraries(input_tests PRIVATE window_test_support Qt6::Test)
gtest_discover_tests(input_tests DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "${KORVANE_OFFSCREEN_ENV}")

# A session manager that asks one client to save as at logout.
pkg_check_modules(XSMP IMPORTED_TARGET sm ice)
set(session_save "")
if(XSMP_FOUND)
  add_executable(session_save ${CMAKE_CURRENT_LIST_DIR}/session_save.cpp)
  target_link_libraries(session_save PRIVATE PkgConfig::XSMP)
  set(session_save $<TARGET_FILE:session_save>)
endif()

# A real window under Xvfb, played with xdotool, then a logout and a display
# that goes away under it; skipped (77) where Xvfb, xdotool or ImageMagick is
# missing.
add_test(NAME xvfb_play
  COMMAND ${CMAKE_CURRENT_LIST_DIR}/xvfb_play.sh $<TARGET_FILE:korvane> ${CMAKE_BINARY_DIR}/xvfb_play
          ${session_save})
set_tests_properties(xvfb_play PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
