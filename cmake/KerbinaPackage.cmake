# Installation and the Debian package (`make package`).
#
# The program finds its seed files in the folder of its executable (the installation folder), so
# the programs and the seed tree go into one folder, lib/kerbina; bin/ holds links to the
# programs. The desktop entry, the MIME type of .krb2 files and the icon go where desktops look
# for them.

set(KERBINA_INSTALL_FOLDER lib/kerbina)

set(kerbina_programs kerbina-cli)
if(KERBINA_BUILD_UI)
    list(APPEND kerbina_programs kerbina printviewer dataprint)
endif()
install(TARGETS ${kerbina_programs} RUNTIME DESTINATION ${KERBINA_INSTALL_FOLDER})
# Empty seed folders keep a placeholder for version control; the folder is installed, the
# placeholder is not.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/seed/ DESTINATION ${KERBINA_INSTALL_FOLDER}
        PATTERN ".gitkeep" EXCLUDE)

foreach(program IN LISTS kerbina_programs)
    if(program STREQUAL "kerbina" OR program STREQUAL "kerbina-cli")
        install(CODE "
            set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
            file(MAKE_DIRECTORY \"\${bin}\")
            file(CREATE_LINK ../${KERBINA_INSTALL_FOLDER}/${program} \"\${bin}/${program}\" SYMBOLIC)
        ")
    endif()
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/packaging/kerbina.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/kerbina-quotation.xml DESTINATION share/mime/packages)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/kerbina.svg
        DESTINATION share/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kerbina)
set(CPACK_PACKAGE_VENDOR "Kerbina")
set(CPACK_PACKAGE_CONTACT "Kerbina developers <kerbina@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Cost quotations for building-services contractors")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The libraries the programs link are found by dpkg-shlibdeps; the fonts the pages are drawn with
# are named here: IPAGothic for printing, whose text copied from a PDF is the text printed.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont")
# Qt's own dialogs and buttons speak Japanese with its translations installed.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)

if(KERBINA_BUILD_TESTS)
    find_program(DESKTOP_FILE_VALIDATE desktop-file-validate REQUIRED)
    add_test(NAME packaging.DesktopEntryIsValid
             COMMAND ${DESKTOP_FILE_VALIDATE} ${PROJECT_SOURCE_DIR}/packaging/kerbina.desktop)
    add_test(NAME packaging.InstalledProgramsFindTheirSeedFiles
             COMMAND ${CMAKE_COMMAND} -DBINARY_DIR=${PROJECT_BINARY_DIR}
                     -DPREFIX=${PROJECT_BINARY_DIR}/install-check
                     -DINSTALL_FOLDER=${KERBINA_INSTALL_FOLDER}
                     -DPROGRAM=kerbina-cli
                     -P ${PROJECT_SOURCE_DIR}/cmake/CheckInstall.cmake)
endif()
