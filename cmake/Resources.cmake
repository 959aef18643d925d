# Images and the typeface the looks draw with, embedded as binary data.
set(SOMBRAX_FONT_FILE "/usr/share/fonts/truetype/roboto/unhinted/RobotoTTF/Roboto-Medium.ttf"
    CACHE FILEPATH "Roboto Medium, from Debian's fonts-roboto-unhinted")
if(NOT EXISTS "${SOMBRAX_FONT_FILE}")
    message(FATAL_ERROR "Roboto Medium not found at ${SOMBRAX_FONT_FILE}: run scripts/install-deps.sh")
endif()

file(GLOB SOMBRAX_SVG_FILES CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/resources/*.svg")

juce_add_binary_data(SombraxResources
    HEADER_NAME SombraxBinaryData.h
    NAMESPACE SombraxBinaryData
    SOURCES ${SOMBRAX_SVG_FILES} "${SOMBRAX_FONT_FILE}")

# The generator's rule depends only on its list of files, so an edited image would not be
# embedded again; re-running the configuration rewrites the list and regenerates the data.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${SOMBRAX_SVG_FILES} "${SOMBRAX_FONT_FILE}")
