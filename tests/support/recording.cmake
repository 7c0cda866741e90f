# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop that records what the program asks of it, for the tests and the benchmarks.
add_library(recording_desktop INTERFACE)
target_include_directories(recording_desktop INTERFACE ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(recording_desktop INTERFACE korvane_platform)
