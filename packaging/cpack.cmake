# Package formats: a Debian package on Linux (scripts/package), a ZIP and, where NSIS is
# installed, an installer on Windows.
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
This package holds the two window programs, TrellicapTFT (TFT model) and
Trellicap (DAC model), trellicap-cli for PDF reports, CSV and JSON
tables, pictures and scripted captures, and instrument-sim, a stand-in
instrument on a pseudo-terminal for training and trials.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Trellicap)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_EXECUTABLES TrellicapTFT "Trellicap TFT" Trellicap "Trellicap DAC")

if(WIN32)
    set(CPACK_GENERATOR ZIP)
    find_program(TRELLICAP_MAKENSIS makensis)
    if(TRELLICAP_MAKENSIS)
        list(APPEND CPACK_GENERATOR NSIS)
    endif()
    set(CPACK_NSIS_MUI_ICON ${TRELLICAP_ICON_ICO})
    set(CPACK_NSIS_INSTALLED_ICON_NAME bin\\\\TrellicapTFT.exe)
    set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
    # The Start menu entries start each program in a folder of the user's own, as the
    # programs keep udc.cfg and their files in the folder they start in (the installation
    # folder is not writable).
    set(CPACK_PACKAGE_EXECUTABLES "")
    set(CPACK_NSIS_CREATE_ICONS_EXTRA "
        CreateDirectory '$PROFILE\\\\Trellicap\\\\tft'
        CreateDirectory '$PROFILE\\\\Trellicap\\\\dac'
        SetOutPath '$PROFILE\\\\Trellicap\\\\tft'
        CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\Trellicap TFT.lnk' '$INSTDIR\\\\bin\\\\TrellicapTFT.exe'
        SetOutPath '$PROFILE\\\\Trellicap\\\\dac'
        CreateShortCut '$SMPROGRAMS\\\\$STARTMENU_FOLDER\\\\Trellicap DAC.lnk' '$INSTDIR\\\\bin\\\\Trellicap.exe'
        SetOutPath '$INSTDIR'")
    set(CPACK_NSIS_DELETE_ICONS_EXTRA "
        Delete '$SMPROGRAMS\\\\$START_MENU\\\\Trellicap TFT.lnk'
        Delete '$SMPROGRAMS\\\\$START_MENU\\\\Trellicap DAC.lnk'")
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
