# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up time and memory against a bare Qt Widgets window (bench/startup.sh).
qt_add_executable(bare_window ${CMAKE_CURRENT_LIST_DIR}/startup/BareWindow.cpp)
target_link_libraries(bare_window PRIVATE Qt6::Widgets)
find_package(X11 QUIET)
if(X11_FOUND)
  add_executable(first_frame ${CMAKE_CURRENT_LIST_DIR}/startup/FirstFrame.cpp)
  target_link_libraries(first_frame PRIVATE X11::X11)
endif()
