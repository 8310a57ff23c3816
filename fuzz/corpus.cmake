# Included by tests/CMakeLists.txt, so it is part of every build with tests, fuzzing or not.

# The kept corpus of the restore fuzzer, replayed so that a crash once found stays fixed.
pellwick_add_test(core-snapshot-corpus SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_restorecorpus.cpp LIBRARIES pellwick-core)
target_compile_definitions(tst-core-snapshot-corpus PRIVATE PELLWICK_RESTORE_CORPUS="${CMAKE_CURRENT_LIST_DIR}/corpus")

# Writes the corpus's seeds: pellwick-snapshot-seeds fuzz/corpus
add_executable(pellwick-snapshot-seeds ${CMAKE_CURRENT_LIST_DIR}/makeseeds.cpp)
target_include_directories(pellwick-snapshot-seeds PRIVATE ${PROJECT_SOURCE_DIR}/tests/core)
target_link_libraries(pellwick-snapshot-seeds PRIVATE pellwick-core pellwick-warnings)

# The same for the level fuzzer's kept corpus.
pellwick_add_test(core-level-corpus SOURCES ${CMAKE_CURRENT_LIST_DIR}/tst_levelcorpus.cpp LIBRARIES pellwick-core)
target_compile_definitions(tst-core-level-corpus PRIVATE PELLWICK_LEVEL_CORPUS="${CMAKE_CURRENT_LIST_DIR}/level-corpus")
