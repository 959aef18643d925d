# Fails when a source file includes from a folder its layer may not see.
#   cmake -DSOURCE_DIR=<tree> -P cmake/CheckLayers.cmake
# Run at configure time and as a test, so a relative include ("../plugin/...") that the
# layered include paths would let through is caught too.

cmake_policy(VERSION 3.22)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "SOURCE_DIR is not set")
endif()

# folder -> the folders its quoted includes may name
set(sees_dsp dsp)
set(sees_platform platform)
set(sees_services services platform)
set(sees_toolkit_ui toolkit_ui services platform)
set(sees_editor editor toolkit_ui services platform plugin)
set(sees_plugin plugin dsp services platform editor)

# JUCE modules the signal path may use
set(dsp_juce_modules juce_core juce_audio_basics)

set(faults "")

foreach(folder dsp platform services toolkit_ui editor plugin)
    file(GLOB files "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")

    foreach(file ${files})
        file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include")
        get_filename_component(name "${file}" NAME)

        foreach(line ${lines})
            if(line MATCHES "include[ \t]*\"([^\"]+)\"")
                set(target "${CMAKE_MATCH_1}")

                if(target MATCHES "\\.\\.")
                    string(APPEND faults "  ${folder}/${name}: relative include \"${target}\"\n")
                elseif(target MATCHES "^([^/]+)/")
                    set(top "${CMAKE_MATCH_1}")

                    if(NOT top IN_LIST sees_${folder})
                        string(APPEND faults "  ${folder}/${name}: includes \"${target}\"\n")
                    elseif(folder STREQUAL "plugin" AND top STREQUAL "editor" AND NOT name STREQUAL "PluginProcessor.cpp")
                        string(APPEND faults "  ${folder}/${name}: only the editor's creation includes \"${target}\"\n")
                    endif()
                endif()
            elseif(folder STREQUAL "dsp" AND line MATCHES "include[ \t]*<([^/>]+)/")
                if(NOT CMAKE_MATCH_1 IN_LIST dsp_juce_modules)
                    string(APPEND faults "  ${folder}/${name}: includes <${CMAKE_MATCH_1}/...>\n")
                endif()
            endif()
        endforeach()
    endforeach()
endforeach()

if(faults)
    message(FATAL_ERROR "Includes that point the wrong way between the source folders:\n${faults}")
endif()
