# SPDX-License-Identifier: GPL-3.0-or-later
# Settings file, shields, custom field, About, Credits and Readme: the window
# with its dialogs, driven through menus and widgets.
add_executable(dialog_tests
  ${CMAKE_CURRENT_LIST_DIR}/DialogTestSupport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DialogTestSupport.h
  ${CMAKE_CURRENT_LIST_DIR}/SettingsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShieldsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ShieldsDialogTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CustomFieldTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LinkLabelTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HelpTest.cpp)
target_include_directories(dialog_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests/window)
target_link_libraries(dialog_tests PRIVATE window_test_support korvane_dialogs Qt6::Test)
gtest_discover_tests(dialog_tests DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${KORVANE_OFFSCREEN_ENV}")
