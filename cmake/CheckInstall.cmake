# Installs the build into a scratch prefix and checks what an installed program relies on: the
# seed tree in the folder of the executable, a link in bin/ that leads there, and the desktop
# entry, MIME type and icon where desktops look for them.
# cmake -DBINARY_DIR=... -DPREFIX=... -DINSTALL_FOLDER=lib/kerbina -DPROGRAM=kerbina-cli -P ...

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BINARY_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "install failed: ${result}")
endif()

set(folder ${PREFIX}/${INSTALL_FOLDER})
set(failures "")
foreach(expected IN ITEMS ${PROGRAM} conf data database style sampledata part/見積定型
                          part/特記事項)
    if(NOT EXISTS ${folder}/${expected})
        list(APPEND failures "${INSTALL_FOLDER}/${expected} is missing")
    endif()
endforeach()
file(GLOB_RECURSE placeholders ${folder}/*.gitkeep)
if(placeholders)
    list(APPEND failures "placeholders installed: ${placeholders}")
endif()

file(REAL_PATH ${PREFIX}/bin/${PROGRAM} linked)
file(REAL_PATH ${folder}/${PROGRAM} installed)
if(NOT IS_SYMLINK ${PREFIX}/bin/${PROGRAM} OR NOT linked STREQUAL installed)
    list(APPEND failures "bin/${PROGRAM} does not lead to ${INSTALL_FOLDER}/${PROGRAM}")
endif()

foreach(expected IN ITEMS share/applications/kerbina.desktop
                          share/mime/packages/kerbina-quotation.xml
                          share/icons/hicolor/scalable/apps/kerbina.svg)
    if(NOT EXISTS ${PREFIX}/${expected})
        list(APPEND failures "${expected} is missing")
    endif()
endforeach()

# The desktop entry opens the type the MIME file gives to .krb2 files.
file(READ ${PREFIX}/share/applications/kerbina.desktop desktop_entry)
file(READ ${PREFIX}/share/mime/packages/kerbina-quotation.xml mime_info)
string(REGEX MATCH "<mime-type type=\"([^\"]+)\">" ignored "${mime_info}")
set(mime_type ${CMAKE_MATCH_1})
string(FIND "${desktop_entry}" "\nMimeType=${mime_type};\n" mime_line)
if(NOT mime_type OR mime_line EQUAL -1 OR NOT mime_info MATCHES "<glob pattern=\"\\*\\.krb2\"/>")
    list(APPEND failures "the desktop entry does not open .krb2 files as ${mime_type}")
endif()

if(failures)
    string(REPLACE ";" "\n  " text "${failures}")
    message(FATAL_ERROR "installation:\n  ${text}")
endif()
