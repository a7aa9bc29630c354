# The fuzzers, one line each, read by both builds: the clang build in
# cmake/fuzz/ makes a program of each, the main build (cmake/fuzz.cmake) a
# timed CTest run. krv_fuzzer(NAME TARGET_SOURCE SECONDS SOURCES... SEEDS ...)
#   TARGET_SOURCE  the .cc holding LLVMFuzzerTestOneInput (.cc keeps it out of
#                  the unit-test program)
#   SECONDS        the run's share of the time box: with ctest -j2 the model
#                  reader runs on one lane while the others follow each other
#                  on the second, about half a minute each
#   SOURCES        the reader's own portable sources, besides the shared ones
#                  (src/geometry, the file layer); no display, no SDL
#   SEEDS          seed folders; those that do not exist are passed over
# Paths are relative to the source folder unless absolute.
krv_fuzzer(model_reader_fuzz tests/geometry/model_reader_fuzz.cc 30
    SEEDS tests/geometry/fuzz_seeds ${KRV_GAME_DIR}/Objects)
krv_fuzzer(question_file_fuzz tests/shell/question_file_fuzz.cc 10
    SOURCES src/shell/question_file.cpp src/shell/content_file.cpp
    SEEDS tests/shell/fuzz_seeds/questions ${KRV_GAME_DIR}/Data)
krv_fuzzer(intro_file_fuzz tests/shell/intro_file_fuzz.cc 10
    SOURCES src/shell/intro_file.cpp src/shell/content_file.cpp
    SEEDS tests/shell/fuzz_seeds/intro)
krv_fuzzer(ending_file_fuzz tests/shell/ending_file_fuzz.cc 10
    SOURCES src/shell/ending_file.cpp
    SEEDS tests/shell/fuzz_seeds/ending)
krv_fuzzer(logic_file_fuzz tests/logic/logic_file_fuzz.cc 10
    SOURCES src/logic/logic_file_parser.cpp
    SEEDS tests/logic/fuzz_seeds ${KRV_GAME_DIR}/Data)
krv_fuzzer(bitmap_fuzz tests/framework/bitmap_fuzz.cc 10
    SOURCES src/framework/bmp_reader.cpp
    SEEDS tests/framework/fuzz_seeds/bitmaps)
krv_fuzzer(quiz_file_fuzz tests/tools/quiz_file_fuzz.cc 10
    SOURCES tools/quiz/quiz_file.cpp tools/quiz/quiz_letters.cpp tools/quiz/quiz_braces.cpp
            src/framework/text_decode.cpp
    SEEDS tests/tools/fuzz_seeds/quiz)
krv_fuzzer(page_text_fuzz tests/framework/page_text_fuzz.cc 10
    SOURCES src/framework/page_text.cpp
    SEEDS tests/framework/fuzz_seeds/page_text ${KRV_GAME_DIR}/Data)
