# SPDX-License-Identifier: GPL-3.0-or-later
# Drawing the field, the clock's tick and the layout of the main window.
add_executable(window_bench ${CMAKE_CURRENT_LIST_DIR}/WindowBench.cpp)
target_link_libraries(window_bench PRIVATE korvane_window recording_desktop test_pictures benchmark::benchmark)
