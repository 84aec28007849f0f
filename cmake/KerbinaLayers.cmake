# The folder layers of src/, checked at configure time.
#
# Each core folder may include its own headers and those of the folders listed for it, never a
# folder above it. ARCHITECTURE.md draws the same table; change both together.
set(KERBINA_LAYER_FOLDERS base money records calc document grid storage settings cover output costs prices link takeoff widgets printviewer app cli)
set(KERBINA_LAYER_base "")
set(KERBINA_LAYER_money base)
set(KERBINA_LAYER_records base money)
set(KERBINA_LAYER_calc base money records)
set(KERBINA_LAYER_document base money records calc)
set(KERBINA_LAYER_grid base money records calc document)
set(KERBINA_LAYER_storage base money records)
set(KERBINA_LAYER_settings base money records storage)
set(KERBINA_LAYER_cover base money records calc document storage settings)
set(KERBINA_LAYER_output base money records calc document grid)
# costs/: expenses (諸経費) and statutory welfare (法定福利費), written as lines and items.
set(KERBINA_LAYER_costs base money records calc document grid settings)
# prices/: the unit price catalogue, its lookups and supplier price lists.
set(KERBINA_LAYER_prices base money records calc document grid storage settings)
# link/: the companion programs: where they are, what they are started with.
set(KERBINA_LAYER_link base)
# takeoff/: the take-off entries of a sheet (拾出) and their commands.
set(KERBINA_LAYER_takeoff base money records calc document grid storage settings)
# widgets/: the window layer below every subsystem's ui/ (message box, fonts, window positions,
# text conversions, the application title, the subsystem seam). Window code, on the core folders.
set(KERBINA_LAYER_widgets base money records calc document grid storage settings cover output
    link)
set(KERBINA_LAYER_printviewer base money records calc document grid storage settings output)
set(KERBINA_LAYER_app base money records calc document grid storage settings cover output)
set(KERBINA_LAYER_cli base money records calc document grid storage settings cover output prices takeoff app)

# kerbina_check_layers(SOURCE_DIR files...)
# Stops the configure when a file includes "folder/..." from a folder its own folder may not use.
# - A core file: its own folder and the folders listed for it, never a ui/ folder or widgets/.
# - widgets/: itself and the core folders listed for it; no ui/ folder and not app/.
# - <folder>/ui/ (and the print programs' main.cpp files): its own folder with its ui/, widgets/
#   and the core folders widgets/ may use; never app/ nor another folder's ui/.
# - app/ui/ (and app/main.cpp), the main window that composes the subsystems: everything.
function(kerbina_check_layers source_dir)
    foreach(source IN LISTS ARGN)
        file(RELATIVE_PATH relative ${source_dir} ${source})
        string(REGEX MATCH "^[^/]+" folder ${relative})
        if(NOT folder IN_LIST KERBINA_LAYER_FOLDERS)
            message(FATAL_ERROR "src/${relative}: the folder ${folder}/ is missing from the layer "
                                "table in cmake/KerbinaLayers.cmake")
        endif()
        if(relative MATCHES "^app/ui/" OR relative STREQUAL "app/main.cpp")
            continue()
        endif()
        set(role core)
        if(folder STREQUAL "widgets")
            set(role widgets)
        elseif(relative MATCHES "^[^/]+/ui/" OR relative MATCHES "^printviewer/(main|dataprint_main)\\.cpp$")
            set(role ui)
        endif()
        file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[a-z_]+/")
        foreach(line IN LISTS includes)
            string(REGEX MATCH "\"([a-z_]+)/" ignored "${line}")
            set(used ${CMAKE_MATCH_1})
            set(used_ui OFF)
            if(line MATCHES "\"[a-z_]+/ui/")
                set(used_ui ON)
            endif()
            if(role STREQUAL "core")
                if(NOT used_ui AND (used STREQUAL folder OR used IN_LIST KERBINA_LAYER_${folder}))
                    continue()
                endif()
                string(REPLACE ";" " " allowed "${KERBINA_LAYER_${folder}}")
                set(rule "${folder}/ may include only its own folder and: ${allowed}")
            else()
                if(used STREQUAL "widgets" OR (role STREQUAL "ui" AND used STREQUAL folder)
                   OR (NOT used_ui AND used IN_LIST KERBINA_LAYER_widgets))
                    continue()
                endif()
                string(REPLACE ";" " " allowed "${KERBINA_LAYER_widgets}")
                string(CONCAT rule "window code outside app/ may include only its own folder, "
                       "widgets/ and: ${allowed}; only the main window's app/ui/ composes app/ "
                       "and the other ui/ folders")
            endif()
            message(FATAL_ERROR "src/${relative} includes ${line}: ${rule} (layer table in "
                                "cmake/KerbinaLayers.cmake)")
        endforeach()
    endforeach()
endfunction()
