# printviewer --pdf, end to end: a quotation file becomes a PDF whose pages, page numbers and
# fonts are checked with poppler's pdfinfo, pdftotext and pdffonts (scripts/install-deps).
# Run by ctest as printviewer_pdf with VIEWER, DATAPRINT, WORK and DATA set.
find_program(PDFINFO pdfinfo REQUIRED)
find_program(PDFTOTEXT pdftotext REQUIRED)
find_program(PDFFONTS pdffonts REQUIRED)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(expect_pdf name source pages)
    expect_program_pdf(${VIEWER} ${name} "${source}" ${pages} "法定福利費" ${ARGN})
endfunction()

function(expect_program_pdf program name source pages)
    set(pdf ${WORK}/${name}.pdf)
    execute_process(COMMAND ${program} --pdf ${pdf} "${source}" RESULT_VARIABLE status
                    ERROR_VARIABLE errors)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${name}: printviewer ended with ${status}: ${errors}")
    endif()
    execute_process(COMMAND ${PDFINFO} ${pdf} OUTPUT_VARIABLE info)
    if(NOT info MATCHES "Pages: +${pages}\n")
        message(FATAL_ERROR "${name}: expected ${pages} pages:\n${info}")
    endif()
    if(NOT info MATCHES "Page size: +(595(\\.[0-9]+)? x 84[12]|84[12](\\.[0-9]+)? x 595)")
        message(FATAL_ERROR "${name}: not A4:\n${info}")
    endif()
    execute_process(COMMAND ${PDFTOTEXT} ${pdf} - OUTPUT_VARIABLE text)
    foreach(expected "1 ?/ ?${pages}" "${pages} ?/ ?${pages}" ${ARGN})
        if(NOT text MATCHES "${expected}")
            message(FATAL_ERROR "${name}: \"${expected}\" missing from the text:\n${text}")
        endif()
    endforeach()
    execute_process(COMMAND ${PDFFONTS} ${pdf} OUTPUT_VARIABLE fonts)
    string(REGEX MATCHALL "\n[^\n]+" font_lines "${fonts}")
    list(LENGTH font_lines font_count)
    if(font_count LESS 3) # the header, the rule and at least one font
        message(FATAL_ERROR "${name}: no fonts:\n${fonts}")
    endif()
    list(SUBLIST font_lines 2 -1 used_fonts)
    foreach(font IN LISTS used_fonts)
        if(NOT font MATCHES " yes +(yes|no) +yes +")
            message(FATAL_ERROR "${name}: a font is not embedded with its text mapping:\n${fonts}")
        endif()
    endforeach()
endfunction()

# Cover, breakdown and the two sheets of example 2, recomputed as it is opened: the grand total
# (tax included) on the cover, the sum item of the breakdown without the welfare cost.
expect_pdf(example_2 ${DATA}/totals/example_2.krb2 4 "5,447,455" "5,167,919")
# The cover's tax and 法定福利費 are those the breakdown prints, not mixed with the tax and welfare
# lines of example 1's first sheet.
expect_pdf(example_1 ${DATA}/totals/example_1.krb2 6
           "税抜金額 ¥16,559,213[ \n]+消費税額 ¥1,324,737[ \n]+うち法定福利費[ \n]+¥457,294")

# The hand-off from the program: the argument names the data root, whose print folder holds the
# batch; print_Data.dat belongs to another printer. Example 2 (4 pages) and example 5 (3 pages)
# make one PDF numbered 1 / 7 to 7 / 7; the argument may come wrapped in one more pair of quotes.
set(root ${WORK}/data_root)
file(MAKE_DIRECTORY ${root}/printdata ${root}/conf)
configure_file(${DATA}/totals/example_2.krb2 ${root}/printdata/A-0001.dat COPYONLY)
configure_file(${DATA}/totals/example_5.krb2 ${root}/printdata/A-0002.dat COPYONLY)
file(WRITE ${root}/printdata/print_Data.dat "1;not a quotation;\r\n")
file(WRITE ${root}/conf/USER_DATA.conf "[OFFICE_NAME1]=Kerbina Setsubi K.K.\r\n")
expect_pdf(handoff "△;\"${root}\";\"${root}\";\"\";\"Release Version 0.1.0\";" 7
           "Kerbina Setsubi K.K.")
expect_pdf(handoff_wrapped "\"△;\"${root}\";\"${root}\";\"\";\"Release Version 0.1.0\";\"" 7)

# The cost split is printed only when the settings file asks for it: without the option the
# breakdown has no cost columns and the cover no cost totals.
execute_process(COMMAND ${PDFTOTEXT} ${WORK}/handoff.pdf - OUTPUT_VARIABLE text)
if(text MATCHES "材料費|労務費 ¥")
    message(FATAL_ERROR "handoff: a cost split without the print option:\n${text}")
endif()
# With it, example 2 (recomputed as it is opened) gets the four columns and, on the cover, their
# totals, which add up to the amount before the breakdown's tax (it has none; the sheet's own tax
# line is part of its item, in 材料費). The 法定福利費 column holds the sheet's welfare, and the
# list's welfare items below the sum item, which the grand total leaves out, are on no cover line.
set(appdata ${WORK}/appdata)
file(MAKE_DIRECTORY ${appdata}/Norfell/kerbina_xe5/conf)
file(WRITE ${appdata}/Norfell/kerbina_xe5/conf/Kerbina.conf "[Print_CostSplit]=TRUE\r\n")
execute_process(COMMAND ${CMAKE_COMMAND} -E env KERBINA_APPDATA=${appdata}
                        ${VIEWER} --pdf ${WORK}/cost_split.pdf ${DATA}/totals/example_2.krb2
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cost_split: printviewer ended with ${status}")
endif()
execute_process(COMMAND ${PDFTOTEXT} ${WORK}/cost_split.pdf - OUTPUT_VARIABLE text)
# (a line may break at any blank.)
foreach(expected "材料費" "労務費" "法定福利費" "経費"
                 "税抜金額 ¥5,447,455[ \n]+消費税額 ¥0）"
                 "材料費 ¥3,291,759[ \n]+労務費 ¥608,501[ \n]+法定福利費 ¥624,237[ \n]+経費 ¥922,958")
    if(NOT text MATCHES "${expected}")
        message(FATAL_ERROR "cost_split: \"${expected}\" missing from the text:\n${text}")
    endif()
endforeach()

# The unit-cost breakdown printer: 16 entries of print_Data.dat make two pages of 15, "P-1" and
# "P-2"; its argument is the data root followed by ";".
set(entries "")
foreach(n RANGE 1 16)
    string(APPEND entries "${n};PIPE-${n};;;;;m;1000;900;;;;;;;;;;;;;;;;;;1200;NOTE-${n};EXTRA-${n};\r\n")
endforeach()
file(WRITE ${root}/printdata/print_Data.dat "${entries}")
expect_program_pdf(${DATAPRINT} unit_costs "${root};" 2 "P-1" "P-2" "PIPE-16" "NOTE-16" "EXTRA-16")

# A data root whose name holds quotes, blanks, ";" and Japanese reaches the viewer whole.
set(odd_root "${WORK}/見積 \"root\";x")
file(MAKE_DIRECTORY "${odd_root}/printdata")
configure_file(${DATA}/totals/example_2.krb2 "${odd_root}/printdata/A-0001.dat" COPYONLY)
string(REPLACE "\"" "\"\"" quoted_root "${odd_root}")
expect_pdf(odd_root "△;\"${quoted_root}\";\"${quoted_root}\";\"\";\"V\";" 4)

# --help is no error; an output that is a device or one of the inputs is refused with a message
# and exit status 1, and the input stays as it was.
execute_process(COMMAND ${VIEWER} --help RESULT_VARIABLE status OUTPUT_VARIABLE usage)
if(NOT status EQUAL 0 OR NOT usage MATCHES "使い方")
    message(FATAL_ERROR "printviewer --help ended with ${status}:\n${usage}")
endif()
configure_file(${DATA}/totals/example_2.krb2 ${WORK}/same.krb2 COPYONLY)
foreach(output /dev/null ${WORK}/same.krb2 ${WORK})
    execute_process(COMMAND ${VIEWER} --pdf ${output} ${WORK}/same.krb2 RESULT_VARIABLE status
                    ERROR_VARIABLE errors)
    if(NOT status EQUAL 1 OR NOT errors MATCHES "書き込めません")
        message(FATAL_ERROR "printviewer --pdf ${output}: ended with ${status}: ${errors}")
    endif()
endforeach()
file(READ ${DATA}/totals/example_2.krb2 original HEX)
file(READ ${WORK}/same.krb2 kept HEX)
if(NOT original STREQUAL kept)
    message(FATAL_ERROR "printviewer --pdf replaced its own input")
endif()
