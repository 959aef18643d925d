#pragma once

// The plug-in's files and chunks as a host test makes them, without the plug-in's code.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

// The program-change presets folder under the test program's own home.
inline std::filesystem::path midiPresetsFolder()
{
    const char* home = std::getenv ("HOME");
    return std::filesystem::path (home != nullptr ? home : ".") / "Library/Audio/Presets/Ostel_Kaverno/Sombrax/MIDI";
}

// A state chunk around an XML text: the magic, the text's length, the text and a 0 byte.
inline std::vector<char> chunkWithText (const std::string& text)
{
    std::vector<char> chunk { 'V', 'C', '2', '!' };
    const auto length = (std::uint32_t) text.size();

    for (int i = 0; i < 4; ++i)
        chunk.push_back ((char) ((length >> (8 * i)) & 0xff));

    chunk.insert (chunk.end(), text.begin(), text.end());
    chunk.push_back (0);
    return chunk;
}
