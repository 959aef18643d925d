# The source folders are layers, and the build keeps their includes pointing one way:
#
#   dsp  <-  plugin  ->  services  <-  toolkit_ui  <-  editor        (platform underneath)
#
# Each lower layer is an object library of the shared code whose include path holds only
# the folders it may include (as links under build/layers/<layer>/) and JUCE's modules,
# so an include of a higher folder fails to compile. The JUCE settings are taken from the
# plug-in's shared-code target without compiling the JUCE modules a second time.

set(SOMBRAX_LAYER_DIR "${CMAKE_BINARY_DIR}/layers")

# sombrax_add_layer(<target> FOLDER <folder> [SEES <folder>...] [CHECK_HEADERS])
#   CHECK_HEADERS also compiles every header of the folder on its own, so header-only
#   records are held to the same include path as the sources.
function(sombrax_add_layer target)
    cmake_parse_arguments(LAYER "CHECK_HEADERS" "FOLDER" "SEES" ${ARGN})
    set(root "${SOMBRAX_LAYER_DIR}/${LAYER_FOLDER}")
    file(MAKE_DIRECTORY "${root}")

    foreach(visible ${LAYER_FOLDER} ${LAYER_SEES})
        if(NOT EXISTS "${root}/${visible}")
            file(CREATE_LINK "${PROJECT_SOURCE_DIR}/${visible}" "${root}/${visible}" SYMBOLIC)
        endif()
    endforeach()

    file(GLOB sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${LAYER_FOLDER}/*.cpp")
    file(GLOB headers CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/${LAYER_FOLDER}/*.h")

    if(NOT sources AND NOT headers)
        return()
    endif()

    if(LAYER_CHECK_HEADERS)
        foreach(header ${headers})
            get_filename_component(name "${header}" NAME)
            set(check "${root}/header_checks/${name}.cpp")
            file(CONFIGURE OUTPUT "${check}" CONTENT "#include \"${LAYER_FOLDER}/${name}\"\n")
            list(APPEND sources "${check}")
        endforeach()
    endif()

    add_library(${target} OBJECT ${sources} ${headers})
    target_include_directories(${target} PRIVATE "${root}"
        $<TARGET_PROPERTY:Sombrax,INCLUDE_DIRECTORIES>)
    target_compile_definitions(${target} PRIVATE $<TARGET_PROPERTY:Sombrax,COMPILE_DEFINITIONS>)
    target_compile_options(${target} PRIVATE $<TARGET_PROPERTY:Sombrax,COMPILE_OPTIONS> -Wall -Wextra)
    target_link_libraries(${target} PRIVATE juce::juce_recommended_config_flags)
    set_target_properties(${target} PROPERTIES
        CXX_VISIBILITY_PRESET hidden
        VISIBILITY_INLINES_HIDDEN ON)
    # The embedded resources' header is generated at build time, before any layer compiles.
    add_dependencies(${target} SombraxResources)
    target_link_libraries(Sombrax PRIVATE ${target})
endfunction()
