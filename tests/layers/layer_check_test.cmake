# The configure step's layer check (cmake/KerbinaLayers.cmake) on small source trees: each case is
# one file with one include, checked in a child cmake run that must pass or stop as listed.
# Run as: cmake -DLAYERS=<cmake/KerbinaLayers.cmake> -DWORK=<scratch folder> -P layer_check_test.cmake

set(cases
    "cover/ui/page.cpp|widgets/message_box.h|pass"
    "cover/ui/page.cpp|cover/ui/other.h|pass"
    "cover/ui/page.cpp|storage/database.h|pass"
    "cover/ui/page.cpp|app/quotation_session.h|fail"
    "cover/ui/page.cpp|app/ui/main_window.h|fail"
    "cover/ui/page.cpp|grid/ui/quotation_view.h|fail"
    "printviewer/main.cpp|widgets/japanese_translations.h|pass"
    "printviewer/main.cpp|app/ui/main_window.h|fail"
    "widgets/box.cpp|storage/module_presence.h|pass"
    "widgets/box.cpp|app/seeding.h|fail"
    "widgets/box.cpp|cover/ui/cover_page.h|fail"
    "app/ui/window.cpp|cover/ui/cover_page.h|pass"
    "app/ui/window.cpp|widgets/subsystem.h|pass"
    "grid/commands.cpp|widgets/qt_text.h|fail"
    "grid/commands.cpp|document/undo.h|pass"
    "document/undo.cpp|grid/grid_commands.h|fail")

set(index 0)
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" parts "${case}")
    list(GET parts 0 file)
    list(GET parts 1 included)
    list(GET parts 2 expected)
    set(tree ${WORK}/case${index})
    file(REMOVE_RECURSE ${tree})
    file(WRITE ${tree}/${file} "#include \"${included}\"\n")
    file(WRITE ${tree}/check.cmake
         "cmake_minimum_required(VERSION 3.25)\ninclude(${LAYERS})\nkerbina_check_layers(${tree} ${tree}/${file})\n")
    execute_process(COMMAND ${CMAKE_COMMAND} -P ${tree}/check.cmake
                    RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
    if(expected STREQUAL "pass" AND NOT result EQUAL 0)
        message(FATAL_ERROR "${file} including ${included} was refused: ${errors}")
    elseif(expected STREQUAL "fail" AND result EQUAL 0)
        message(FATAL_ERROR "${file} including ${included} passed the layer check")
    endif()
    math(EXPR index "${index} + 1")
endforeach()
message(STATUS "layer check: ${index} cases as expected")
