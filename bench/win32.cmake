# Benchmarks that run under Wine (built in the Windows trees, never run as tests).
add_executable(first_paint bench/first_paint.cpp $<TARGET_OBJECTS:zel_resources>)
target_link_libraries(first_paint PRIVATE zel_win)
set_target_properties(first_paint PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

# Copying and watching: copy throughput with the progress dialog live, and
# how many messages and rescans a burst of changes gives.
add_executable(copy_throughput bench/copy_throughput.cpp $<TARGET_OBJECTS:zel_resources>)
target_link_libraries(copy_throughput PRIVATE zel_win)
add_executable(monitor_burst bench/monitor_burst.cpp)
target_link_libraries(monitor_burst PRIVATE zel_win)
set_target_properties(copy_throughput monitor_burst PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
