# SPDX-License-Identifier: GPL-3.0-or-later
# Made-up skins and fonts, and a PNG writer, for the tests and the benchmarks.
add_library(test_pictures STATIC ${CMAKE_CURRENT_LIST_DIR}/TestPictures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TestPictures.h)
target_include_directories(test_pictures PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(test_pictures PUBLIC Qt6::Gui PRIVATE PNG::PNG ZLIB::ZLIB)
