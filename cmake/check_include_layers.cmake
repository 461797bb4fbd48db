# Checks the one direction of dependencies in src/ from the #include lines:
#   profiles -> record -> link, display, storage -> report -> shell, cli -> app
# A file may include its own folder and the folders of lower floors; nothing includes a
# floor above it or a folder beside it (link, display and storage know nothing of each
# other; cli knows nothing of shell). Widget and print-support headers appear only in shell/,
# app/ and the ui/ folders; a file outside a ui/ folder never includes a ui/ header.
#
#   cmake -DSRC_DIR=<tree>/src -DWIDGET_HEADER_DIRS="<QtWidgets dir>;<QtPrintSupport dir>"
#         -P check_include_layers.cmake
cmake_minimum_required(VERSION 3.25)

set(floor_profiles 0)
set(floor_record 1)
set(floor_link 2)
set(floor_display 2)
set(floor_storage 2)
set(floor_report 3)
set(floor_shell 4)
set(floor_cli 4)
set(floor_app 5)
set(widget_folders shell app)

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
    file(STRINGS ${SRC_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line ${includes})
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" target "${line}")
        if(line MATCHES "<")
            if(NOT in_ui AND target IN_LIST widget_headers)
                message(SEND_ERROR "${file}: includes the widget header <${target}>")
                math(EXPR faults "${faults} + 1")
            endif()
            continue()
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
