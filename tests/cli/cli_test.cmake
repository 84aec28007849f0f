# kerbina-cli end to end: exit statuses, messages, nothing written on failure, stable recalc.
# Run by ctest with CLI (the program), WORK (a scratch folder) and DATA (tests/data).
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

execute_process(COMMAND "${CLI}" totals "${DATA}/totals/example_1.krb2"
                RESULT_VARIABLE status OUTPUT_VARIABLE json)
if(NOT (status EQUAL 0))
    message(FATAL_ERROR "totals failed: ${status}")
endif()
string(FIND "${json}" "\"ALLGTOTAL\": \"17883950\"" found)
if(found EQUAL -1)
    message(FATAL_ERROR "totals printed no grand total: ${json}")
endif()

file(WRITE "${WORK}/broken.krb2" "<TITLE>\r\n[ItemMax]=x\r\n</TITLE>\r\n")
execute_process(COMMAND "${CLI}" recalc "${WORK}/broken.krb2" -o "${WORK}/out.krb2"
                RESULT_VARIABLE status ERROR_VARIABLE problem)
if(NOT (status EQUAL 1))
    message(FATAL_ERROR "an unreadable file gave status ${status}")
endif()
if(EXISTS "${WORK}/out.krb2")
    message(FATAL_ERROR "a file was written although the input was unreadable")
endif()
string(FIND "${problem}" "broken.krb2:2:" named)
if(named EQUAL -1)
    message(FATAL_ERROR "the message does not name the file and line: ${problem}")
endif()

execute_process(COMMAND "${CLI}" recalc "${DATA}/totals/example_2.krb2" -o "${WORK}/first.krb2"
                RESULT_VARIABLE status)
if(NOT (status EQUAL 0))
    message(FATAL_ERROR "recalc failed: ${status}")
endif()
execute_process(COMMAND "${CLI}" recalc "${WORK}/first.krb2" -o "${WORK}/second.krb2"
                RESULT_VARIABLE status)
if(NOT (status EQUAL 0))
    message(FATAL_ERROR "recalc of its own output failed: ${status}")
endif()
file(SHA256 "${WORK}/first.krb2" first)
file(SHA256 "${WORK}/second.krb2" second)
if(NOT (first STREQUAL second))
    message(FATAL_ERROR "recalc is not stable on its own output")
endif()

execute_process(COMMAND "${CLI}" import-krb "${WORK}/missing.krb" -o "${WORK}/new.krb2"
                RESULT_VARIABLE status)
if(NOT (status EQUAL 1))
    message(FATAL_ERROR "a missing old file gave status ${status}")
endif()
execute_process(COMMAND "${CLI}" frobnicate RESULT_VARIABLE status ERROR_QUIET)
if(NOT (status EQUAL 2))
    message(FATAL_ERROR "an unknown command gave status ${status}")
endif()
