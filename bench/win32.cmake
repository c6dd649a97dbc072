# Benchmarks that run under Wine (built in the Windows trees, never run as tests).
add_executable(first_paint bench/first_paint.cpp $<TARGET_OBJECTS:zel_resources>)
target_link_libraries(first_paint PRIVATE zel_win)
set_target_properties(first_paint PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

# Copying and watching: copy throughput with the progress dialog live, and
# how many messages and rescans a burst of changes gives.
add_executable(copy_throughput bench/copy_throughput.cpp $<TARGET_OBJECTS:zel_resources>)
target_link_libraries(copy_throughput PRIVATE zel_win)
add_executable(copy_many bench/copy_many.cpp $<TARGET_OBJECTS:zel_resources>)
target_link_libraries(copy_many PRIVATE zel_win)
set_target_properties(copy_many PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_executable(monitor_burst bench/monitor_burst.cpp)
target_link_libraries(monitor_burst PRIVATE zel_win)
set_target_properties(copy_throughput monitor_burst PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

# Process start to painted, against a plain window's floor (bench/startup_table.sh).
add_executable(paint_timer bench/paint_timer.cpp)
add_executable(floor_window WIN32 bench/floor_window.cpp)
# What a plain program pays to read the files the window reads by contents.
add_executable(read_all bench/read_all.cpp)
target_link_libraries(floor_window PRIVATE comctl32)
target_link_options(paint_timer PRIVATE ${STATIC_RUNTIME})
target_link_options(floor_window PRIVATE ${STATIC_RUNTIME})
target_link_options(read_all PRIVATE ${STATIC_RUNTIME})
set_target_properties(paint_timer floor_window read_all PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
