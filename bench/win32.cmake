# Benchmarks that run under Wine (built in the Windows trees, never run as tests).
add_executable(first_paint bench/first_paint.cpp $<TARGET_OBJECTS:zel_resources>)
target_link_libraries(first_paint PRIVATE zel_win)
set_target_properties(first_paint PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
