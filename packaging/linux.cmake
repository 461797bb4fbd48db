# The desktop side of a Linux installation. A menu launch goes through trellicap-launch, which
# starts the program in ~/Trellicap/<model>: the programs keep udc.cfg, record files and
# scratch bitmaps in the folder they start in. Desktop entries, AppStream metadata, the
# launcher's cases and the man pages come from the model registry (src/profiles/models.cmake):
# one of each per shipped model.
trellicap_models(models)
set(apps "")
set(TRELLICAP_LAUNCH_CASES "")
foreach(key IN LISTS models)
    trellicap_model_field(program ${key} PROGRAM)
    list(APPEND apps ${program})
    string(APPEND TRELLICAP_LAUNCH_CASES "    ${key}) program=${program} ;;\n")
endforeach()
string(JOIN "|" TRELLICAP_LAUNCH_KEYS ${models})
set(TRELLICAP_LAUNCH_USAGE "one of ${TRELLICAP_LAUNCH_KEYS}")

# Each model's desktop entry and metadata from one template; the entry's and the launcher's
# paths are the installed ones, filled in when installing with the prefix of that
# installation (a package installs under /usr, a build from source under /usr/local).
set(here ${CMAKE_CURRENT_SOURCE_DIR})
set(there ${CMAKE_CURRENT_BINARY_DIR})
set(TRELLICAP_BINDIR "@TRELLICAP_BINDIR@")
set(TRELLICAP_LAUNCHER "@TRELLICAP_LAUNCHER@")
configure_file(linux/trellicap-launch.in ${there}/trellicap-launch.in @ONLY)
foreach(key IN LISTS models)
    set(MODEL_KEY ${key})
    trellicap_model_field(MODEL_NAME ${key} NAME)
    trellicap_model_field(MODEL_PROGRAM ${key} PROGRAM)
    configure_file(linux/org.trellicap.model.desktop.in ${there}/org.trellicap.${key}.desktop.in
                   @ONLY)
    configure_file(linux/org.trellicap.model.metainfo.xml.in
                   ${there}/org.trellicap.${key}.metainfo.xml @ONLY)
endforeach()
install(CODE "
    set(TRELLICAP_BINDIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    set(TRELLICAP_LAUNCHER
        \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBEXECDIR}/trellicap/trellicap-launch\")
    configure_file(${there}/trellicap-launch.in ${there}/trellicap-launch @ONLY)
    foreach(model ${models})
        configure_file(${there}/org.trellicap.\${model}.desktop.in
                       ${there}/org.trellicap.\${model}.desktop @ONLY)
    endforeach()")
install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/trellicap-launch
        DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/trellicap)

foreach(model IN LISTS models)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/org.trellicap.${model}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/org.trellicap.${model}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
endforeach()

install(FILES trellicap.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN LISTS icon_sizes)
    install(FILES ${TRELLICAP_ICON_DIR}/${size}x${size}/trellicap.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Man pages: the window programs' written by hand, trellicap-cli's and the simulator's made
# from their --help. All compressed without a time stamp, as Debian wants them.
set(man_dir ${CMAKE_CURRENT_BINARY_DIR}/man)
set(man_pages "")
foreach(key IN LISTS models)
    trellicap_model_field(MAN_PROGRAM ${key} PROGRAM)
    trellicap_model_field(MAN_MODEL ${key} NAME)
    trellicap_model_field(bytes ${key} FILE_BYTES)
    string(TOUPPER ${MAN_PROGRAM} MAN_TITLE)
    set(MAN_FOLDER ${key})
    # "560,000": the file size with a comma every three digits.
    string(REGEX REPLACE "([0-9])([0-9][0-9][0-9])$" "\\1,\\2" MAN_RECORD_BYTES ${bytes})
    string(REGEX REPLACE "([0-9])([0-9][0-9][0-9]),"  "\\1,\\2," MAN_RECORD_BYTES
           ${MAN_RECORD_BYTES})
    set(others ${apps})
    list(REMOVE_ITEM others ${MAN_PROGRAM})
    string(JOIN " (1),\n.BR " MAN_OTHER ${others})
    configure_file(man/window-program.1.in ${man_dir}/${MAN_PROGRAM}.1 @ONLY)
endforeach()

set(man_script ${CMAKE_CURRENT_SOURCE_DIR}/man/man_from_help.cmake)
string(REPLACE ";" "\\;" see_also_cli "${apps};instrument-sim")
string(REPLACE ";" "\\;" see_also_sim "${apps};trellicap-cli")
string(REPLACE ";" "\\;" see_also_web "trellicap-cli;${apps}")
add_custom_command(OUTPUT ${man_dir}/trellicap-cli.1
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:trellicap-cli> -DNAME=trellicap-cli
            "-DSUMMARY=reports, tables and pictures of Trellicap record files, and a capture from a script"
            -DVERSION=${PROJECT_VERSION} "-DSUBCOMMANDS=info\;pdf\;csv\;json\;png\;svg\;capture\;archive search\;archive import\;archive export\;archive verify\;archive sync"
            "-DSEE_ALSO=${see_also_cli}"
            -DOUTPUT=${man_dir}/trellicap-cli.1 -P ${man_script}
    DEPENDS trellicap-cli ${man_script}
    COMMENT "Writing the trellicap-cli man page from its --help")
list(APPEND man_pages trellicap-cli)
if(TARGET instrument-sim)
    add_custom_command(OUTPUT ${man_dir}/instrument-sim.1
        COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:instrument-sim> -DNAME=instrument-sim
                "-DSUMMARY=stands in for the ultrasonic flaw detector on a pseudo-terminal"
                -DVERSION=${PROJECT_VERSION} "-DSEE_ALSO=${see_also_sim}"
                -DOUTPUT=${man_dir}/instrument-sim.1 -P ${man_script}
        DEPENDS instrument-sim ${man_script}
        COMMENT "Writing the instrument-sim man page from its --help")
    list(APPEND man_pages instrument-sim)
endif()
if(TARGET trellicap-web)
    add_custom_command(OUTPUT ${man_dir}/trellicap-web.1
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:trellicap-web> -DNAME=trellicap-web
                "-DSUMMARY=the records of the archive in a browser, read-only"
                -DVERSION=${PROJECT_VERSION} "-DSEE_ALSO=${see_also_web}"
                -DOUTPUT=${man_dir}/trellicap-web.1 -P ${man_script}
        DEPENDS trellicap-web ${man_script}
        COMMENT "Writing the trellicap-web man page from its --help")
    list(APPEND man_pages trellicap-web)
endif()

find_program(TRELLICAP_GZIP gzip)
set(man_outputs "")
foreach(page IN LISTS apps man_pages)
    if(TRELLICAP_GZIP)
        add_custom_command(OUTPUT ${man_dir}/${page}.1.gz
            COMMAND ${TRELLICAP_GZIP} -9 -n -c ${man_dir}/${page}.1 > ${man_dir}/${page}.1.gz
            DEPENDS ${man_dir}/${page}.1)
        list(APPEND man_outputs ${man_dir}/${page}.1.gz)
    else()
        list(APPEND man_outputs ${man_dir}/${page}.1)
    endif()
endforeach()
add_custom_target(trellicap_man_pages ALL DEPENDS ${man_outputs})
install(FILES ${man_outputs} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The copyright file and the changelog Debian looks for.
install(FILES debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
configure_file(debian/changelog.in ${CMAKE_CURRENT_BINARY_DIR}/changelog @ONLY)
if(TRELLICAP_GZIP)
    add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
        COMMAND ${TRELLICAP_GZIP} -9 -n -c ${CMAKE_CURRENT_BINARY_DIR}/changelog
                > ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz
        DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog)
    add_custom_target(trellicap_changelog ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
    install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
