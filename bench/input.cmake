# SPDX-License-Identifier: GPL-3.0-or-later
# Mouse play on the largest field, with the paint that shows the result.
add_executable(input_bench ${CMAKE_CURRENT_LIST_DIR}/InputBench.cpp)
target_link_libraries(input_bench PRIVATE korvane_window recording_desktop test_pictures benchmark::benchmark)
target_compile_definitions(input_bench PRIVATE KORVANE_BENCH_SCREEN="${CMAKE_CURRENT_LIST_DIR}/offscreen.json")
