# Reading, patching and writing a long document's paragraph indents.
pkg_check_modules(BENCH_LIBZIP REQUIRED IMPORTED_TARGET libzip)
add_executable(bench_paragraph_model ${CMAKE_CURRENT_LIST_DIR}/ParagraphModelBench.cpp
  ${PROJECT_SOURCE_DIR}/tests/paragraphs/DocxWriter.cpp)
target_include_directories(bench_paragraph_model PRIVATE ${PROJECT_SOURCE_DIR})
target_link_libraries(bench_paragraph_model PRIVATE marrowdale_paragraphs PkgConfig::BENCH_LIBZIP)
set_target_properties(bench_paragraph_model PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
