# Benchmarks: built in the native tree, run by hand (bench/run_bench.sh), never as tests.
add_executable(diffbench bench/diffbench.cpp)
target_link_libraries(diffbench PRIVATE zel_core_fast)
target_compile_options(diffbench PRIVATE -O2)
# Static like the shipped program, so that whole-process timings do not pay
# for loading the C++ runtime.
target_link_options(diffbench PRIVATE -static)
set_target_properties(diffbench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

# The directory side: scanning, pairing and the status of every pair.
add_executable(dirbench bench/dirbench.cpp)
target_link_libraries(dirbench PRIVATE zel_core_fast)
target_compile_options(dirbench PRIVATE -O2)
target_link_options(dirbench PRIVATE -static)
set_target_properties(dirbench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)

# The changed-character marks of a screenful of changed rows.
add_executable(charbench bench/charbench.cpp)
target_link_libraries(charbench PRIVATE zel_core_fast)
target_compile_options(charbench PRIVATE -O2)
target_link_options(charbench PRIVATE -static)
set_target_properties(charbench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
