# kerbina_add_test(NAME [WINDOWS] SOURCES... LIBRARIES...)
# Registers a GoogleTest executable with ctest. Every run gets the offscreen Qt platform and a
# fresh, empty KERBINA_APPDATA folder, so running ctest by hand behaves exactly like CI.
function(kerbina_add_test name)
    cmake_parse_arguments(ARG "WINDOWS" "" "SOURCES;LIBRARIES" ${ARGN})
    if(ARG_WINDOWS)
        # Window tests need a QApplication around the test run.
        add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/window_test_main.cpp)
        target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} Qt6::Test GTest::gtest GTest::gmock)
    else()
        add_executable(${name} ${ARG_SOURCES})
        target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gmock GTest::gtest_main)
    endif()
    target_compile_options(${name} PRIVATE ${KERBINA_WARNINGS})
    target_compile_definitions(${name} PRIVATE
        KERBINA_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
    add_test(NAME ${name}
        COMMAND ${CMAKE_COMMAND}
            -DTEST_EXECUTABLE=$<TARGET_FILE:${name}>
            -DTEST_APPDATA=${CMAKE_CURRENT_BINARY_DIR}/appdata/${name}
            -P ${PROJECT_SOURCE_DIR}/cmake/RunIsolated.cmake)
endfunction()
