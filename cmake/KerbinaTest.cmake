# kerbina_add_test(NAME [WINDOWS] SOURCES... LIBRARIES...)
# Builds a GoogleTest program and lists each of its tests with ctest as NAME.Suite.Test, so one
# case can be run by name. Every test process makes its own fresh, empty KERBINA_APPDATA
# (tests/support/fresh_app_data.h) and window tests run on the offscreen Qt platform, so running a
# test by hand behaves exactly like CI. A test that hangs (a modal dialog nobody answers) fails
# after two minutes instead of holding up the run.
include(GoogleTest)

function(kerbina_add_test name)
    cmake_parse_arguments(ARG "WINDOWS" "" "SOURCES;LIBRARIES" ${ARGN})
    set(support ${PROJECT_SOURCE_DIR}/tests/support)
    if(ARG_WINDOWS)
        add_executable(${name} ${ARG_SOURCES} ${support}/window_test_main.cpp)
        target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} Qt6::Test)
    else()
        add_executable(${name} ${ARG_SOURCES} ${support}/test_main.cpp)
        target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES})
    endif()
    target_link_libraries(${name} PRIVATE kerbina_test_support GTest::gtest GTest::gmock)
    target_compile_options(${name} PRIVATE ${KERBINA_WARNINGS})
    target_compile_definitions(${name} PRIVATE
        KERBINA_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
    gtest_discover_tests(${name}
        TEST_PREFIX "${name}."
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()
