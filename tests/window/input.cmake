# Mouse and keyboard play: gestures through real Qt events and a long random
# session checked against the tile rules.
add_executable(input_tests
  ${CMAKE_CURRENT_LIST_DIR}/InputTestSupport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InputTestSupport.h
  ${CMAKE_CURRENT_LIST_DIR}/InputTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GestureSessionTest.cpp)
target_link_libraries(input_tests PRIVATE window_test_support Qt6::Test)
gtest_discover_tests(input_tests DISCOVERY_TIMEOUT 60
  PROPERTIES ENVIRONMENT "${KORVANE_OFFSCREEN_ENV}")

