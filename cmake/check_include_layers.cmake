# Checks the one direction of dependencies in src/ from the #include lines:
#   profiles -> record -> link, display, storage, archive, inspection -> report -> session
#   -> shell, cli, web -> app
# A file may include its own folder and the folders of lower floors; nothing includes a
# floor above it or a folder beside it (link, display, storage, archive and inspection know
# nothing of each other; cli and web know nothing of shell, nor of each other). Widget and
# print-support headers appear only in shell/, app/ and the ui/ folders; a file outside a ui/
# folder never includes a ui/ header.
# Inside shell/ the main window is a view that the other rooms never see: only its own files
# (shell/main/frmmain*) include "shell/main/frmmain.h"; the rooms take the session and narrow
# interfaces.
# POSIX-only headers (unistd.h, fcntl.h, termios.h, sys/..., ...) appear only in files whose
# name ends in _posix.cpp (CMake builds them only on POSIX systems) or inside a conditional on
# the platform (Q_OS_UNIX, Q_OS_WIN...), so the tree compiles on Windows too.
#
#   cmake -DSRC_DIR=<tree>/src -DWIDGET_HEADER_DIRS="<QtWidgets dir>;<QtPrintSupport dir>"
#         -P check_include_layers.cmake
cmake_minimum_required(VERSION 3.25)

set(floor_profiles 0)
set(floor_record 1)
set(floor_link 2)
set(floor_display 2)
set(floor_storage 2)
set(floor_archive 2)
set(floor_inspection 2)
set(floor_report 3)
set(floor_session 4)
set(floor_shell 5)
set(floor_cli 5)
set(floor_web 5)
set(floor_app 6)
set(widget_folders shell app)

set(posix_headers_regex
    "^(unistd|fcntl|termios|poll|pty|dlfcn|pthread|pwd|grp|dirent|spawn|syslog|signal|sys/.*)\\.h$")
set(platform_condition_regex "Q_OS_(UNIX|LINUX|WIN|MACOS|DARWIN)|_WIN32|__unix__")

set(widget_headers "")
foreach(dir ${WIDGET_HEADER_DIRS})
    file(GLOB names RELATIVE ${dir} ${dir}/Q*)
    list(APPEND widget_headers ${names})
endforeach()

file(GLOB_RECURSE files RELATIVE ${SRC_DIR} ${SRC_DIR}/*.h ${SRC_DIR}/*.cpp)
set(faults 0)
foreach(file ${files})
    string(REGEX MATCH "^[^/]+" folder ${file})
    if(NOT DEFINED floor_${folder})
        message(SEND_ERROR "${file}: folder '${folder}' has no floor in the include check")
        math(EXPR faults "${faults} + 1")
        continue()
    endif()
    set(in_ui FALSE)
    if(file MATCHES "/ui/" OR folder IN_LIST widget_folders)
        set(in_ui TRUE)
    endif()
    # Preprocessor lines in order: the open conditionals tell whether a POSIX header is guarded.
    file(STRINGS ${SRC_DIR}/${file} directives REGEX "^[ \t]*#")
    set(open_conditions "")
    set(includes "")
    foreach(line ${directives})
        if(line MATCHES "^[ \t]*#[ \t]*if")
            string(REGEX MATCH "${platform_condition_regex}" platform "${line}")
            list(APPEND open_conditions "x${platform}")
        elseif(line MATCHES "^[ \t]*#[ \t]*endif")
            if(open_conditions)
                list(POP_BACK open_conditions)
            endif()
        elseif(line MATCHES "^[ \t]*#[ \t]*include[ \t]*<([^>]+)>")
            set(target "${CMAKE_MATCH_1}")
            string(REPLACE ";" "" guards "${open_conditions}")
            if(target MATCHES "${posix_headers_regex}" AND NOT file MATCHES "_posix\\.cpp$"
               AND guards MATCHES "^x*$")
                message(SEND_ERROR "${file}: includes the POSIX header <${target}> unguarded")
                math(EXPR faults "${faults} + 1")
            endif()
            list(APPEND includes "${line}")
        elseif(line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"")
            list(APPEND includes "${line}")
        endif()
    endforeach()
    foreach(line ${includes})
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" target "${line}")
        if(line MATCHES "<")
            if(NOT in_ui AND target IN_LIST widget_headers)
                message(SEND_ERROR "${file}: includes the widget header <${target}>")
                math(EXPR faults "${faults} + 1")
            endif()
            continue()
        endif()
        if(target STREQUAL "shell/main/frmmain.h" AND folder STREQUAL "shell" AND
           NOT file MATCHES "^shell/main/frmmain[^/]*$")
            message(SEND_ERROR "${file}: includes the main window \"${target}\"; take the session and a narrow interface")
            math(EXPR faults "${faults} + 1")
        endif()
        string(REGEX MATCH "^[^/]+" target_folder ${target})
        if(NOT DEFINED floor_${target_folder})
            continue()  # a generated header such as trellicap_version.h
        endif()
        if(NOT target_folder STREQUAL folder AND
           NOT floor_${target_folder} LESS floor_${folder})
            message(SEND_ERROR "${file}: includes \"${target}\" from a floor that is not below")
            math(EXPR faults "${faults} + 1")
        elseif(NOT in_ui AND target MATCHES "/ui/")
            message(SEND_ERROR "${file}: includes the window header \"${target}\"")
            math(EXPR faults "${faults} + 1")
        endif()
    endforeach()
endforeach()
list(LENGTH files count)
if(faults GREATER 0)
    message(FATAL_ERROR "${faults} include(s) against the floors")
endif()
message(STATUS "${count} files: every include runs down a floor")
