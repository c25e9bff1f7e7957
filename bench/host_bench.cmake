# host_bench: host start, open and page picture times of the engine host for a 30-page document.
add_executable(host_bench ${CMAKE_CURRENT_LIST_DIR}/host_bench.cpp)
target_link_libraries(host_bench PRIVATE marrowdale_conversion marrowdale_wordclient Qt6::Widgets)
set_target_properties(host_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
add_dependencies(host_bench marrowdale-wordhost)
