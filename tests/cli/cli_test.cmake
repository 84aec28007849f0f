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

# A file cut inside its data section is not taken for a whole one.
# (head copies the bytes exactly; CMake strings would not keep the line ends.)
execute_process(COMMAND head -c 2990 "${DATA}/totals/example_2.krb2"
                OUTPUT_FILE "${WORK}/cut.krb2")
execute_process(COMMAND "${CLI}" recalc "${WORK}/cut.krb2" -o "${WORK}/cut_out.krb2"
                RESULT_VARIABLE status ERROR_VARIABLE problem)
if(NOT (status EQUAL 1) OR EXISTS "${WORK}/cut_out.krb2")
    message(FATAL_ERROR "a cut file gave status ${status} or was written")
endif()
string(FIND "${problem}" "cut.krb2:78: ファイルが途中で切れています" named)
if(named EQUAL -1)
    message(FATAL_ERROR "the cut is not reported with its line: ${problem}")
endif()

# The same file with its lines intact but without the end marker.
execute_process(COMMAND head -n 102 "${DATA}/totals/example_2.krb2"
                OUTPUT_FILE "${WORK}/unended.krb2")
execute_process(COMMAND "${CLI}" totals "${WORK}/unended.krb2"
                RESULT_VARIABLE status OUTPUT_VARIABLE json ERROR_VARIABLE problem)
if(NOT (status EQUAL 1) OR NOT (json STREQUAL ""))
    message(FATAL_ERROR "a file without </EOF> gave status ${status}: ${json}")
endif()

# A UTF-8 file is named as such instead of being read as garbage (the UTF-8 bytes of this
# addressee are no valid CP932).
file(WRITE "${WORK}/utf8.krb2" "<TITLE>\r\n[ATESAKI_1]=配管工事\r\n[ItemMax]=0\r\n</TITLE>\r\n"
           "<ITEM>\r\n</ITEM>\r\n</EOF>\r\n")
execute_process(COMMAND "${CLI}" totals "${WORK}/utf8.krb2"
                RESULT_VARIABLE status ERROR_VARIABLE problem OUTPUT_QUIET)
string(FIND "${problem}" "utf8.krb2:2: 文字コードが UTF-8" named)
if(NOT (status EQUAL 1) OR named EQUAL -1)
    message(FATAL_ERROR "a UTF-8 file gave status ${status}: ${problem}")
endif()

# A FIFO is refused at once instead of blocking the reader.
execute_process(COMMAND mkfifo "${WORK}/pipe.krb2")
execute_process(COMMAND "${CLI}" totals "${WORK}/pipe.krb2" TIMEOUT 20
                RESULT_VARIABLE status ERROR_VARIABLE problem OUTPUT_QUIET)
if(NOT (status STREQUAL "1"))
    message(FATAL_ERROR "a FIFO as input gave status ${status}: ${problem}")
endif()

# A range sum that stops a sheet: totals still prints, exits 3, and says where on one line.
file(WRITE "${WORK}/range.krb2" "<TITLE>\r\n[ItemMax]=1\r\n</TITLE>\r\n<ITEM>\r\n"
           "10;;0;0;0.5;0.5;10;1;0.5;0;0;;0;0\r\n</ITEM>\r\n<DATA>\r\n"
           "1;A;;0;11999;;10;2;2;100;100;0;0;0;0;0;0;0;0;;;\r\n"
           "1;B;;0;11999;;12;1;1;500;500;0;0;0;0;0;0;0;0;;;\r\n"
           "1;S;;0;11999;;93;1;2;0;0;0;0;0;0;0;0;0;0;;;\r\n"
           "</DATA>\r\n</EOF>\r\n")
execute_process(COMMAND "${CLI}" totals "${WORK}/range.krb2"
                RESULT_VARIABLE status OUTPUT_VARIABLE json ERROR_VARIABLE problem)
if(NOT (status EQUAL 3) OR json STREQUAL "")
    message(FATAL_ERROR "a range-sum error gave status ${status}")
endif()
string(REGEX MATCH "range.krb2: sheet 1, row 3: [^\r\n]*no:3\n$" oneLine "${problem}")
if(oneLine STREQUAL "")
    message(FATAL_ERROR "the range-sum message is not one line: ${problem}")
endif()

# Outputs that are not regular files are never replaced, and a data root must exist.
file(MAKE_DIRECTORY "${WORK}/folder.krb2")
foreach(output "${WORK}/folder.krb2" /dev/null)
    execute_process(COMMAND "${CLI}" recalc "${DATA}/totals/example_2.krb2" -o "${output}"
                    RESULT_VARIABLE status ERROR_VARIABLE problem)
    string(FIND "${problem}" "通常のファイルではない" named)
    if(NOT (status EQUAL 1) OR named EQUAL -1)
        message(FATAL_ERROR "recalc -o ${output} gave status ${status}: ${problem}")
    endif()
endforeach()
if(NOT IS_DIRECTORY "${WORK}/folder.krb2")
    message(FATAL_ERROR "recalc replaced a folder")
endif()
execute_process(COMMAND "${CLI}" totals "${DATA}/totals/example_2.krb2" --data-root
                        "${WORK}/no-such-root" RESULT_VARIABLE status ERROR_QUIET OUTPUT_QUIET)
if(NOT (status EQUAL 1))
    message(FATAL_ERROR "a missing data root gave status ${status}")
endif()
