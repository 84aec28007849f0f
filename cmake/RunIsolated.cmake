# Runs one test executable with a fresh data folder and the offscreen Qt platform.
file(REMOVE_RECURSE "${TEST_APPDATA}")
file(MAKE_DIRECTORY "${TEST_APPDATA}")
set(ENV{KERBINA_APPDATA} "${TEST_APPDATA}")
set(ENV{QT_QPA_PLATFORM} "offscreen")
execute_process(COMMAND "${TEST_EXECUTABLE}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${TEST_EXECUTABLE} failed: ${result}")
endif()
