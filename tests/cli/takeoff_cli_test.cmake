# kerbina-cli takeoff import end to end: payloads go into a sheet's take-off entries and the
# quotation file written carries them; a bad payload writes nothing; wrong arguments are refused.
# Run by ctest with CLI (the program), WORK (a scratch folder) and DATA (tests/data).
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# A payload of 91 fields: name, specification, unit, prices, quantities, kind, sort code, system.
function(payload out name system)
    set(fields "WM_DATAWRITE;${name};25A;m;850;1200;;;12.5;12.5;;;110;1201;;10;0.1;;${system};1;")
    foreach(n RANGE 22 91)
        string(APPEND fields ";")
    endforeach()
    set(${out} "${fields}" PARENT_SCOPE)
endfunction()

payload(first SGP 0)
payload(second VP 3)
file(WRITE "${WORK}/payloads.txt" "${first}\r\n\r\n${second}\r\n")
execute_process(COMMAND "${CLI}" takeoff import "${DATA}/totals/example_1.krb2" --sheet 1
                        "${WORK}/payloads.txt" -o "${WORK}/out.krb2"
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE problem)
if(NOT (status EQUAL 0) OR NOT output STREQUAL "2\n")
    message(FATAL_ERROR "import gave status ${status}, output ${output}: ${problem}")
endif()
file(READ "${WORK}/out.krb2" written)
foreach(expected IN ITEMS "1;1;0;SGP;25A;0.1;1201;m;110;10;12.5;12.5;850;1200;"
                          "1;1;3;VP;25A;0.1;1201;m;110;10;12.5;12.5;850;1200;")
    string(FIND "${written}" "${expected}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "missing take-off entry ${expected}")
    endif()
endforeach()

payload(wrong SGP 12)
file(WRITE "${WORK}/wrong.txt" "${first}\n${wrong}\n")
execute_process(COMMAND "${CLI}" takeoff import "${DATA}/totals/example_1.krb2" --sheet 1
                        "${WORK}/wrong.txt" -o "${WORK}/wrong.krb2"
                RESULT_VARIABLE status ERROR_VARIABLE problem)
string(FIND "${problem}" "2 行目" named)
if(NOT (status EQUAL 1) OR named EQUAL -1 OR EXISTS "${WORK}/wrong.krb2")
    message(FATAL_ERROR "a payload with system 12 gave status ${status}: ${problem}")
endif()

foreach(arguments IN ITEMS "import;${DATA}/totals/example_1.krb2;${WORK}/payloads.txt;-o;x.krb2"
                           "import;${DATA}/totals/example_1.krb2;--sheet;x;${WORK}/payloads.txt;-o;x"
                           "export;--sheet;1")
    execute_process(COMMAND "${CLI}" takeoff ${arguments} RESULT_VARIABLE status OUTPUT_QUIET
                    ERROR_QUIET)
    if(NOT (status EQUAL 2))
        message(FATAL_ERROR "takeoff ${arguments} gave status ${status}, not 2")
    endif()
endforeach()
execute_process(COMMAND "${CLI}" takeoff import "${DATA}/totals/example_1.krb2" --sheet 99
                        "${WORK}/payloads.txt" -o "${WORK}/none.krb2"
                RESULT_VARIABLE status ERROR_VARIABLE problem)
if(NOT (status EQUAL 1) OR EXISTS "${WORK}/none.krb2")
    message(FATAL_ERROR "a sheet that does not exist gave status ${status}: ${problem}")
endif()
