# Package formats: a Debian package on Linux (scripts/package), a ZIP and, where NSIS is
# installed, an installer on Windows. The window programs' entries come from the model
# registry (src/profiles/models.cmake).
trellicap_models(cpack_models)
set(cpack_programs "")
set(cpack_executables "")
set(nsis_icons "")
set(nsis_delete "")
foreach(key IN LISTS cpack_models)
    trellicap_model_field(program ${key} PROGRAM)
    trellicap_model_field(name ${key} NAME)
    list(APPEND cpack_programs "${program} for the ${name} model")
    list(APPEND cpack_executables ${program} "Trellicap ${name}")
    string(APPEND nsis_icons "
        CreateDirectory '$PROFILE\\\\Trellicap\\\\${key}'
        SetOutPath '$PROFILE\\\\Trellicap\\\\${key}'
        CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\Trellicap ${name}.lnk' '$INSTDIR\\\\bin\\\\${program}.exe'")
    string(APPEND nsis_delete "
        Delete '$SMPROGRAMS\\\\$START_MENU\\\\Trellicap ${name}.lnk'")
endforeach()
string(JOIN ",\n" cpack_program_lines ${cpack_programs})
set(CPACK_PACKAGE_NAME trellicap)
set(CPACK_PACKAGE_VENDOR "The Trellicap developers")
set(CPACK_PACKAGE_CONTACT "The Trellicap developers <developers@trellicap.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "capture and report the memory slots of ultrasonic flaw detectors")
set(CPACK_PACKAGE_DESCRIPTION
    "Trellicap takes inspection results off portable ultrasonic flaw
detectors over a serial line: it captures the stored memory slots (an
A-scan echo trace and the instrument's settings), shows them, adds
operator and location notes, keeps them in record files and prints one
test report page per slot.
.
This package holds a window program for each instrument model:
${cpack_program_lines};
trellicap-cli for PDF reports, CSV and JSON tables, pictures and
scripted captures, and instrument-sim, a stand-in instrument on a
pseudo-terminal for training and trials.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Trellicap)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_EXECUTABLES ${cpack_executables})

if(WIN32)
    set(CPACK_GENERATOR ZIP)
    find_program(TRELLICAP_MAKENSIS makensis)
    if(TRELLICAP_MAKENSIS)
        list(APPEND CPACK_GENERATOR NSIS)
    endif()
    set(CPACK_NSIS_MUI_ICON ${TRELLICAP_ICON_ICO})
    list(GET cpack_models 0 first_model)
    trellicap_model_field(first_program ${first_model} PROGRAM)
    set(CPACK_NSIS_INSTALLED_ICON_NAME bin\\\\${first_program}.exe)
    set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
    # The Start menu entries start each program in a folder of the user's own, as the
    # programs keep udc.cfg and their files in the folder they start in (the installation
    # folder is not writable).
    set(CPACK_PACKAGE_EXECUTABLES "")
    set(CPACK_NSIS_CREATE_ICONS_EXTRA "${nsis_icons}
        SetOutPath '$INSTDIR'")
    set(CPACK_NSIS_DELETE_ICONS_EXTRA "${nsis_delete}")
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGE_EXECUTABLES "")
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION science)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://trellicap.org/")
    # The libraries the programs link, found by dpkg-shlibdeps.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # Qt finds its platform and print plugins and the archive's SQLite driver at run time;
    # dpkg-shlibdeps cannot see them.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6sql6-sqlite")
    # The team server needs Qt's PostgreSQL driver; without a team server nothing does.
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "printer-driver-cups-pdf, fonts-liberation, libqt6sql6-psql")
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()

include(CPack)
