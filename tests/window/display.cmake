# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up, rendering, layout, digit displays, status bar, skins and fonts.
add_executable(window_tests
  ${CMAKE_CURRENT_LIST_DIR}/StartupTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DisplaySupport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DisplaySupport.h
  ${CMAKE_CURRENT_LIST_DIR}/RenderTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LayoutTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DigitsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StatusBarTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/OptionsTest.cpp)
target_link_libraries(window_tests PRIVATE window_test_support Qt6::Test)
gtest_discover_tests(window_tests DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${KORVANE_OFFSCREEN_ENV}")

# The real window on a virtual X server, without a window manager and under
# four of them; and natively under weston's headless Wayland compositor.
foreach(mode "" openbox xfwm4 icewm fluxbox wayland)
  string(JOIN _ name xvfb_window_size ${mode})
  add_test(NAME ${name}
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/xvfb_window_size.sh $<TARGET_FILE:korvane> ${CMAKE_BINARY_DIR}
            ${mode})
  set_tests_properties(${name} PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 120)
endforeach()
