# kerbina-cli save and export end to end: quotation files saved under new numbers come back byte
# for byte; two processes saving at once never share a number.
# Run by ctest with CLI (the program), WORK (a scratch folder) and DATA (tests/data).
file(REMOVE_RECURSE "${WORK}")
set(ROOT "${WORK}/Norfell/kerbina_xe5")
file(MAKE_DIRECTORY "${ROOT}")

# The numbers a save printed, in order ("NUMBER<tab>FILE" lines).
function(printed_numbers output result)
    string(REGEX MATCHALL "[^\n]+" lines "${output}")
    set(numbers "")
    foreach(line IN LISTS lines)
        string(REGEX MATCH "^[^\t]+" number "${line}")
        list(APPEND numbers "${number}")
    endforeach()
    set(${result} "${numbers}" PARENT_SCOPE)
endfunction()

set(examples "")
foreach(n RANGE 1 6)
    list(APPEND examples "${DATA}/totals/example_${n}.krb2")
endforeach()
execute_process(COMMAND "${CLI}" save ${examples} --data-root "${ROOT}"
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE problem)
printed_numbers("${output}" numbers)
if(NOT (status EQUAL 0) OR NOT ("${numbers}" STREQUAL
                                "NF00001;NF00002;NF00003;NF00004;NF00005;NF00006"))
    message(FATAL_ERROR "save gave status ${status}, numbers ${numbers}: ${problem}")
endif()
if(NOT EXISTS "${WORK}/Norfell/database/kerbinaXe5.db3")
    message(FATAL_ERROR "the database is not beside the data root")
endif()

# Each stored quotation exports as exactly the file recalc writes, with the number it was saved
# under in place of its empty [NUMBER]= line.
foreach(n RANGE 1 6)
    execute_process(COMMAND "${CLI}" recalc "${DATA}/totals/example_${n}.krb2"
                            -o "${WORK}/recalc_${n}.krb2" RESULT_VARIABLE status)
    execute_process(COMMAND "${CLI}" export "NF0000${n}" -o "${WORK}/export_${n}.krb2"
                            --data-root "${ROOT}" RESULT_VARIABLE exported ERROR_VARIABLE problem)
    if(NOT (status EQUAL 0) OR NOT (exported EQUAL 0))
        message(FATAL_ERROR "recalc or export of ${n} failed: ${status} ${exported} ${problem}")
    endif()
    file(READ "${WORK}/recalc_${n}.krb2" expected HEX)
    file(READ "${WORK}/export_${n}.krb2" actual HEX)
    # "[NUMBER]=\r\n" -> "[NUMBER]=NF0000n\r\n"
    string(REPLACE "5b4e554d4245525d3d0d0a" "5b4e554d4245525d3d4e46303030303${n}0d0a" expected
           "${expected}")
    if(NOT (expected STREQUAL actual))
        message(FATAL_ERROR "export ${n} differs from the recomputed file")
    endif()
endforeach()

# list finds what save stored in the same data root's database folder.
execute_process(COMMAND "${CLI}" list --data-root "${ROOT}" --sort 1 RESULT_VARIABLE status
                OUTPUT_VARIABLE listed ERROR_VARIABLE problem)
if(NOT (status EQUAL 0) OR NOT (listed MATCHES "\"count\": *6[,\n ]") OR
   NOT (listed MATCHES "NF00001"))
    message(FATAL_ERROR "list after save: ${status} ${problem} ${listed}")
endif()

# Nothing is written for a number that is not stored; wrong arguments are refused.
execute_process(COMMAND "${CLI}" export NF09999 -o "${WORK}/none.krb2" --data-root "${ROOT}"
                RESULT_VARIABLE status ERROR_VARIABLE problem)
string(FIND "${problem}" "NF09999" named)
if(NOT (status EQUAL 1) OR named EQUAL -1 OR EXISTS "${WORK}/none.krb2")
    message(FATAL_ERROR "export of a missing number gave status ${status}: ${problem}")
endif()
foreach(arguments "export;NF00001" "export;NF00001;NF00002;-o;${WORK}/x.krb2" "save")
    execute_process(COMMAND "${CLI}" ${arguments} RESULT_VARIABLE status ERROR_QUIET)
    if(NOT (status EQUAL 2))
        message(FATAL_ERROR "${arguments} gave status ${status}")
    endif()
endforeach()

# A file that cannot be read is reported; the others are saved all the same.
file(WRITE "${WORK}/broken.krb2" "<TITLE>\r\n[ItemMax]=x\r\n</TITLE>\r\n")
execute_process(COMMAND "${CLI}" save "${WORK}/broken.krb2" "${DATA}/totals/example_5.krb2"
                        --data-root "${ROOT}"
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE problem)
printed_numbers("${output}" numbers)
string(FIND "${problem}" "broken.krb2:2:" named)
if(NOT (status EQUAL 1) OR named EQUAL -1 OR NOT ("${numbers}" STREQUAL "NF00007"))
    message(FATAL_ERROR "a broken file among others gave status ${status}, ${numbers}: ${problem}")
endif()

# Two processes saving 200 quotations each into one database file.
set(many "")
foreach(i RANGE 1 200)
    list(APPEND many "${DATA}/totals/example_5.krb2")
endforeach()
list(JOIN many " " manyText)
file(REMOVE_RECURSE "${WORK}/Norfell/database")
execute_process(
    COMMAND sh -c "(\"${CLI}\" save ${manyText} --data-root \"${ROOT}\" >\"${WORK}/a.txt\"; \
echo $? >\"${WORK}/a.rc\") & (\"${CLI}\" save ${manyText} --data-root \"${ROOT}\" \
>\"${WORK}/b.txt\"; echo $? >\"${WORK}/b.rc\") & wait"
    RESULT_VARIABLE status ERROR_VARIABLE problem)
file(READ "${WORK}/a.rc" a_status)
file(READ "${WORK}/b.rc" b_status)
file(READ "${WORK}/a.txt" a_output)
file(READ "${WORK}/b.txt" b_output)
printed_numbers("${a_output}${b_output}" numbers)
list(LENGTH numbers count)
set(distinct ${numbers})
list(REMOVE_DUPLICATES distinct)
list(LENGTH distinct distinct_count)
if(NOT (a_status EQUAL 0) OR NOT (b_status EQUAL 0) OR NOT (count EQUAL 400)
   OR NOT (distinct_count EQUAL 400))
    message(FATAL_ERROR "parallel saves: status ${a_status} ${b_status}, ${count} numbers, "
                        "${distinct_count} distinct: ${problem}")
endif()
# Every number has its row.
foreach(number IN LISTS distinct)
    execute_process(COMMAND "${CLI}" export "${number}" -o "${WORK}/check.krb2"
                            --data-root "${ROOT}" RESULT_VARIABLE status)
    if(NOT (status EQUAL 0))
        message(FATAL_ERROR "no row for ${number}")
    endif()
endforeach()

# A database folder named in conf/Network_conf.conf that is not there (a share not mounted) is an
# error: nothing is saved, no folder is made, and export does not look anywhere else.
set(OFFICE "${WORK}/office/Norfell/kerbina_xe5")
file(MAKE_DIRECTORY "${OFFICE}/conf")
file(WRITE "${OFFICE}/conf/Network_conf.conf" "[Network_Dir]=${WORK}/unmounted/share\r\n")
foreach(arguments "save;${DATA}/totals/example_1.krb2" "export;NF00001;-o;${WORK}/office.krb2")
    execute_process(COMMAND "${CLI}" ${arguments} --data-root "${OFFICE}"
                    RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE problem)
    string(FIND "${problem}" "データベースフォルダーが見つかりません" told)
    if(NOT (status EQUAL 1) OR told EQUAL -1 OR NOT ("${output}" STREQUAL "")
       OR EXISTS "${WORK}/unmounted" OR EXISTS "${WORK}/office/Norfell/database"
       OR EXISTS "${WORK}/office.krb2")
        message(FATAL_ERROR "${arguments} with a missing database folder: ${status} ${problem}")
    endif()
endforeach()

# A quotation database with a damaged page (the last one overwritten with 0xFF) takes no save.
set(DAMAGED "${WORK}/Norfell/database/kerbinaXe5.db3")
file(SIZE "${DAMAGED}" size)
math(EXPR last_page "${size} / 4096 - 1")
execute_process(
    COMMAND sh -c "head -c 4096 /dev/zero | tr '\\000' '\\377' | \
dd of=\"${DAMAGED}\" bs=4096 seek=${last_page} count=1 conv=notrunc 2>/dev/null"
    RESULT_VARIABLE status)
if(NOT (status EQUAL 0))
    message(FATAL_ERROR "could not damage ${DAMAGED}")
endif()
file(SHA256 "${DAMAGED}" before)
execute_process(COMMAND "${CLI}" save "${DATA}/totals/example_1.krb2" --data-root "${ROOT}"
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE problem)
file(SHA256 "${DAMAGED}" after)
string(FIND "${problem}" "見積データベースが壊れています" told)
if(NOT (status EQUAL 1) OR told EQUAL -1 OR NOT ("${output}" STREQUAL "")
   OR NOT ("${before}" STREQUAL "${after}"))
    message(FATAL_ERROR "save into a damaged database: ${status} ${output} ${problem}")
endif()
