# The model registry: the one list of instrument models that every front end iterates. A model
# is one profile file (a ModelProfile constant) and one line
#   trellicap_model(KEY PROGRAM Name NAME "Shown name" HEADER path.h PROFILE ns::kProfile
#                   FILE_BYTES N [TEST])
# in src/profiles/models.cmake. From the list the build makes each window program's main(),
# trellicap-cli's --model values (src/profiles/model_registry.h), the archive window's model
# box, and, on Linux, the desktop entries, the launcher, the AppStream metadata, the man pages
# and the package's entries. A TEST model (tests/support/test_models.cmake) gets a window
# program and a command-line tool of its own for the tests; it is never installed.

function(trellicap_model key)
    cmake_parse_arguments(ARG "TEST" "PROGRAM;NAME;HEADER;PROFILE;FILE_BYTES" "" ${ARGN})
    foreach(field PROGRAM NAME HEADER PROFILE FILE_BYTES)
        if(NOT ARG_${field})
            message(FATAL_ERROR "trellicap_model(${key}): ${field} is missing")
        endif()
        set_property(GLOBAL PROPERTY TRELLICAP_MODEL_${key}_${field} "${ARG_${field}}")
    endforeach()
    set_property(GLOBAL PROPERTY TRELLICAP_MODEL_${key}_TEST ${ARG_TEST})
    if(ARG_TEST)
        set_property(GLOBAL APPEND PROPERTY TRELLICAP_TEST_MODELS ${key})
    else()
        set_property(GLOBAL APPEND PROPERTY TRELLICAP_MODELS ${key})
    endif()
endfunction()

# trellicap_model_field(VAR KEY FIELD): one field of a model's line.
function(trellicap_model_field var key field)
    get_property(value GLOBAL PROPERTY TRELLICAP_MODEL_${key}_${field})
    set(${var} "${value}" PARENT_SCOPE)
endfunction()

# The models of the installed programs, and those with the test models after them.
function(trellicap_models var)
    get_property(models GLOBAL PROPERTY TRELLICAP_MODELS)
    set(${var} ${models} PARENT_SCOPE)
endfunction()
function(trellicap_all_models var)
    get_property(models GLOBAL PROPERTY TRELLICAP_MODELS)
    get_property(test_models GLOBAL PROPERTY TRELLICAP_TEST_MODELS)
    set(${var} ${models} ${test_models} PARENT_SCOPE)
endfunction()

# Writes the C++ registry of `models` into OUTPUT: their names, or (PROFILES) their profiles.
function(trellicap_write_model_registry output models)
    cmake_parse_arguments(ARG "PROFILES" "" "" ${ARGN})
    set(includes "")
    set(names "")
    set(profiles "")
    foreach(key IN LISTS models)
        foreach(field PROGRAM NAME HEADER PROFILE FILE_BYTES)
            trellicap_model_field(${field} ${key} ${field})
        endforeach()
        string(APPEND includes "#include \"${HEADER}\"\n")
        string(APPEND names "    {\"${key}\", \"${NAME}\", \"${PROGRAM}\", ${FILE_BYTES}},\n")
        string(APPEND profiles "    &${PROFILE},\n")
    endforeach()
    set(body "// Written by the build from the model registry (src/profiles/models.cmake).\n")
    string(APPEND body "#include \"profiles/model_registry.h\"\n\n")
    if(ARG_PROFILES)
        string(APPEND body "${includes}\n")
    endif()
    string(APPEND body "namespace trellicap {\n\nnamespace {\n\n")
    if(ARG_PROFILES)
        string(APPEND body "const ModelProfile* const kProfiles[] = {\n${profiles}};\n\n")
        string(APPEND body "}  // namespace\n\n")
        string(APPEND body "std::span<const ModelProfile* const> registeredProfiles() {\n    return kProfiles;\n}\n")
    else()
        string(APPEND body "const RegisteredModel kModels[] = {\n${names}};\n\n")
        string(APPEND body "}  // namespace\n\n")
        string(APPEND body "std::span<const RegisteredModel> registeredModels() {\n    return kModels;\n}\n")
    endif()
    string(APPEND body "\n}  // namespace trellicap\n")
    file(CONFIGURE OUTPUT ${output} CONTENT "${body}" @ONLY)
endfunction()
