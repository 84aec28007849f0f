# kerbina-cli prices end to end: a price list with a refused row goes in, its export comes back in
# with nothing to change, and wrong arguments are refused.
# Run by ctest with CLI (the program) and WORK (a scratch folder).
file(REMOVE_RECURSE "${WORK}")
set(ROOT "${WORK}/Norfell/kerbina_xe5")
file(MAKE_DIRECTORY "${ROOT}")

function(expect_lines output)
    foreach(line IN LISTS ARGN)
        string(FIND "${output}" "${line}\n" found)
        if(found EQUAL -1)
            message(FATAL_ERROR "missing \"${line}\" in:\n${output}")
        endif()
    endforeach()
endfunction()

file(WRITE "${WORK}/list.csv"
     "名称,仕様,単位,提出単価\n鋼管,20A,ｍ,1200\nO'Brien継手,25A,個,350.5\n仕切弁,,個,abc\n")
execute_process(COMMAND "${CLI}" prices import "${WORK}/list.csv" --group 1 --category 配管
                        --data-root "${ROOT}"
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE problem)
if(NOT (status EQUAL 0))
    message(FATAL_ERROR "import gave status ${status}: ${problem}")
endif()
expect_lines("${output}" "追加: 2件" "更新: 0件" "取込不可: 1件"
             "4行目: 提出単価が数値ではありません（abc）。")

execute_process(COMMAND "${CLI}" prices export --group 1 -o "${WORK}/out.csv" --data-root "${ROOT}"
                RESULT_VARIABLE status ERROR_VARIABLE problem)
if(NOT (status EQUAL 0))
    message(FATAL_ERROR "export gave status ${status}: ${problem}")
endif()
execute_process(COMMAND "${CLI}" prices import "${WORK}/out.csv" --group 1 --category 配管
                        --data-root "${ROOT}"
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE problem)
if(NOT (status EQUAL 0))
    message(FATAL_ERROR "import of the export gave status ${status}: ${problem}")
endif()
expect_lines("${output}" "追加: 0件" "更新: 0件" "変更なし: 2件" "取込不可: 0件")

foreach(arguments IN ITEMS "import;${WORK}/list.csv;--group;20;--category;x"
                           "import;${WORK}/list.csv;--group;1" "export;--group;1")
    execute_process(COMMAND "${CLI}" prices ${arguments} --data-root "${ROOT}"
                    RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
    if(NOT (status EQUAL 2))
        message(FATAL_ERROR "prices ${arguments} gave status ${status}, not 2")
    endif()
endforeach()
execute_process(COMMAND "${CLI}" prices import "${WORK}/missing.csv" --group 1 --category x
                        --data-root "${ROOT}" RESULT_VARIABLE status ERROR_VARIABLE problem)
if(NOT (status EQUAL 1) OR problem STREQUAL "")
    message(FATAL_ERROR "a missing list gave status ${status}: ${problem}")
endif()
